// The settings record and file without the window: reading a field by its columns, the record
// line, what the controls receive, where the file lies and how much of it is read.

#include "settings/ini_file.h"
#include "settings/record.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zintrova::settings;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void readField_data();
    void readField();
    void recordLine();
    void whatTheControlsReceive();
    void iniPath();
    void readRecordFile();
};

// Every field read from a record whose earlier columns hold 5s, so a column off by one shows.
// Cutting each field after 0 to width + 1 digits gives records of every length from 0 to 21.
void TestSettings::readField_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("expected");
    const std::string digits = "98765";
    for (const Field f : {LeftField, TopField, SetField(1), SetField(2), SetField(3), FilterField,
                          LenField(0), LenField(1), CountField}) {
        const auto row = [&](const QByteArray &what, const std::string &rest, double expected) {
            QTest::addRow("column %d: %s", int(f.Column), what.constData())
                << QByteArray::fromStdString(std::string(f.Column - 1, '5') + rest) << int(f.Column)
                << int(f.Width) << expected;
        };
        const auto value = [&](std::size_t n) { return n ? std::stod(digits.substr(0, n)) : 0.0; };
        for (std::size_t n = 0; n <= f.Width + 1; ++n)
            row(QByteArray::number(qulonglong(n)) + " digits", digits.substr(0, n),
                value(std::min(n, f.Width)));
        row("minus sign only", "-", 0);
        row("comma", ",7", 0);
        row("starts with a letter", "a1234", 0);
    }
}

void TestSettings::readField()
{
    QFETCH(QByteArray, record);
    QFETCH(int, column);
    QFETCH(int, width);
    QFETCH(double, expected);
    QCOMPARE(ReadField(record.toStdString(), Field{std::size_t(column), std::size_t(width)}),
             expected);
}

// Each value goes to its own member; each is held to its columns when written, so the line is
// always 21 digits.
void TestSettings::recordLine()
{
    QCOMPARE(DecodeRecord("123456789012345678901"),
             (Record{12345, 67890, {1, 2, 3}, 4, {56, 78}, 901}));
    QCOMPARE(EncodeRecord({-15, 250000, {1, 1, 1}, 1, {6, 8}, 1}),
             std::string("000009999911110608001"));
    QCOMPARE(EncodeRecord({0, 0, {-1, 10, 0}, 12, {123, -4}, 1000}),
             std::string("000000000009099900999"));
}

// A box or a slider would keep to its range on its own; the loader hands it only values within.
void TestSettings::whatTheControlsReceive()
{
    const auto a = ToApply("000000000021930250001");
    QCOMPARE(a->Set, (std::array<std::optional<std::int16_t>, 3>{2, 1, {}})); // 3 to 9 refused
    QCOMPARE(a->Filter, std::optional<std::int16_t>());
    QCOMPARE(a->Len, (std::array<std::int32_t, 2>{3, 40}));
    QCOMPARE(ToApply("000000000011114503001")->Len, (std::array<std::int32_t, 2>{40, 6}));
}

void TestSettings::iniPath()
{
    QCOMPARE(IniPath("/opt/zintrova"), QStringLiteral("/opt/zintrova/Zintrova.ini"));
    QCOMPARE(IniPath("/"), QStringLiteral("/Zintrova.ini"));
    QCOMPARE(IniPath("C:\\"), QStringLiteral("C:\\Zintrova.ini"));
}

void TestSettings::readRecordFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Zintrova.ini");
    QCOMPARE(ReadRecordFile(dir.path()), std::string("-")); // a folder
    QVERIFY(WriteRecordFile(path, std::string(2 * MaxHead, '7')));
    QCOMPARE(ReadRecordFile(path).size(), MaxHead); // only the start of a long file
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
