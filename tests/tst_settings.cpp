// The settings record and file without the window: reading a field by its columns, the whole
// record, the formats of the writer, the first field of a file, what the controls receive, and
// where the file lies.

#include "settings/ini_file.h"
#include "settings/record.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zintrova::settings;

Q_DECLARE_METATYPE(Record)
Q_DECLARE_METATYPE(std::string)

namespace {

constexpr char Example[] = "015000120011110608025";

struct NamedField {
    const char *Name;
    Field F;
};
constexpr NamedField AllFields[] = {
    {"left", LeftField},      {"top", TopField},        {"set 1", SetField(1)},
    {"set 2", SetField(2)},   {"set 3", SetField(3)},   {"filter", FilterField},
    {"minimum", LenField(0)}, {"maximum", LenField(1)}, {"count", CountField}};

Record Rec(int left, int top, std::array<std::int16_t, 3> sets, int filter, int len0, int len1,
           int count)
{
    return {left, top, sets, std::int16_t(filter), {len0, len1}, std::int16_t(count)};
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void readField_data();
    void readField();
    void shortRecords_data();
    void shortRecords();
    void decode_data();
    void decode();
    void formatNumber_data();
    void formatNumber();
    void encodeIsAlwaysTwentyOneDigits_data();
    void encodeIsAlwaysTwentyOneDigits();
    void recordText_data();
    void recordText();
    void whatTheControlsReceive();
    void iniPath_data();
    void iniPath();
    void readRecordFile();
};

// Every field read from a record whose earlier columns hold 5s, so a column off by one shows.
void TestSettings::readField_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("expected");
    const std::string digits = "98765";
    for (const auto &[name, f] : AllFields) {
        const std::string before(f.Column - 1, '5');
        const auto row = [&](const char *what, const std::string &rest, double expected) {
            QTest::addRow("%s: %s", name, what) << QByteArray::fromStdString(before + rest)
                                                << int(f.Column) << int(f.Width) << expected;
        };
        const auto value = [&](std::size_t n) { return std::stod(digits.substr(0, n)); };
        row("record ends before it", "", 0);
        row("minus sign only", "-", 0);
        row("comma", ",7", 0);
        row("starts with a letter", "a1234", 0);
        if (f.Width > 1) row("width - 1", digits.substr(0, f.Width - 1), value(f.Width - 1));
        row("exact width", digits.substr(0, f.Width), value(f.Width));
        row("width + 1", digits.substr(0, f.Width + 1), value(f.Width));
        if (f.Width > 1) {
            row("blank, then digits", " " + digits.substr(0, f.Width - 1), value(f.Width - 1));
            row("negative", "-" + digits.substr(0, f.Width - 1), -value(f.Width - 1));
            row("digit, then comma", "9,", 9);
        }
    }
    QTest::newRow("whole example, count") << QByteArray(Example) << 19 << 3 << 25.0;
}

void TestSettings::readField()
{
    QFETCH(QByteArray, record);
    QFETCH(int, column);
    QFETCH(int, width);
    QFETCH(double, expected);
    const Field f{std::size_t(column), std::size_t(width)};
    QCOMPARE(ReadField(record.toStdString(), f), expected);
    QVERIFY(FieldText(record.toStdString(), f).size() <= f.Width);
}

// The example record cut after every length: the missing fields read as 0, a cut field reads
// the digits it still has.
void TestSettings::shortRecords_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<Record>("expected");
    const std::array<Record, 22> byLength = {
        Rec(0, 0, {0, 0, 0}, 0, 0, 0, 0),       Rec(0, 0, {0, 0, 0}, 0, 0, 0, 0),
        Rec(1, 0, {0, 0, 0}, 0, 0, 0, 0),       Rec(15, 0, {0, 0, 0}, 0, 0, 0, 0),
        Rec(150, 0, {0, 0, 0}, 0, 0, 0, 0),     Rec(1500, 0, {0, 0, 0}, 0, 0, 0, 0),
        Rec(1500, 0, {0, 0, 0}, 0, 0, 0, 0),    Rec(1500, 1, {0, 0, 0}, 0, 0, 0, 0),
        Rec(1500, 12, {0, 0, 0}, 0, 0, 0, 0),   Rec(1500, 120, {0, 0, 0}, 0, 0, 0, 0),
        Rec(1500, 1200, {0, 0, 0}, 0, 0, 0, 0), Rec(1500, 1200, {1, 0, 0}, 0, 0, 0, 0),
        Rec(1500, 1200, {1, 1, 0}, 0, 0, 0, 0), Rec(1500, 1200, {1, 1, 1}, 0, 0, 0, 0),
        Rec(1500, 1200, {1, 1, 1}, 1, 0, 0, 0), Rec(1500, 1200, {1, 1, 1}, 1, 0, 0, 0),
        Rec(1500, 1200, {1, 1, 1}, 1, 6, 0, 0), Rec(1500, 1200, {1, 1, 1}, 1, 6, 0, 0),
        Rec(1500, 1200, {1, 1, 1}, 1, 6, 8, 0), Rec(1500, 1200, {1, 1, 1}, 1, 6, 8, 0),
        Rec(1500, 1200, {1, 1, 1}, 1, 6, 8, 2), Rec(1500, 1200, {1, 1, 1}, 1, 6, 8, 25)};
    for (int n = 0; n <= 21; ++n)
        QTest::addRow("length %d", n) << n << byLength[std::size_t(n)];
}

void TestSettings::shortRecords()
{
    QFETCH(int, length);
    QFETCH(Record, expected);
    QCOMPARE(DecodeRecord(std::string_view(Example, std::size_t(length))), expected);
}

void TestSettings::decode_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<Record>("expected");
    QTest::newRow("distinct digits")
        << QByteArray("123456789012345678901") << Rec(12345, 67890, {1, 2, 3}, 4, 56, 78, 901);
    QTest::newRow("signs") << QByteArray("-9999+0015-1-1-9-9-99")
                           << Rec(-9999, 15, {0, 1, 0}, 1, -9, -9, -99);
}

void TestSettings::decode()
{
    QFETCH(QByteArray, record);
    QFETCH(Record, expected);
    QCOMPARE(DecodeRecord(record.toStdString()), expected);
}

void TestSettings::formatNumber_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("00000, small") << qint64(15) << 5 << QByteArray("00015");
    QTest::newRow("00000, six digits kept") << qint64(123456) << 5 << QByteArray("123456");
    QTest::newRow("0, zero") << qint64(0) << 1 << QByteArray("0");
    QTest::newRow("00, negative") << qint64(-5) << 2 << QByteArray("-05");
    QTest::newRow("000, exact") << qint64(999) << 3 << QByteArray("999");
    QTest::newRow("smallest 64-bit")
        << std::numeric_limits<qint64>::min() << 3 << QByteArray("-9223372036854775808");
}

void TestSettings::formatNumber()
{
    QFETCH(qint64, value);
    QFETCH(int, digits);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(FormatNumber(value, digits)), text);
}

void TestSettings::encodeIsAlwaysTwentyOneDigits_data()
{
    QTest::addColumn<Record>("values");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("example") << Rec(1500, 1200, {1, 1, 1}, 1, 6, 8, 25) << QByteArray(Example);
    QTest::newRow("design values, greyed box")
        << Rec(0, 0, {1, 2, 1}, 1, 6, 8, 1) << QByteArray("000000000012110608001");
    QTest::newRow("window beyond the left and top edges")
        << Rec(-15, -300, {1, 1, 1}, 1, 6, 8, 1) << QByteArray("000000000011110608001");
    QTest::newRow("position beyond 99999")
        << Rec(100005, 250000, {1, 1, 1}, 1, 6, 8, 1) << QByteArray("999999999911110608001");
    QTest::newRow("every other field beyond its columns")
        << Rec(0, 0, {-1, 10, 0}, 12, 123, -4, 1000) << QByteArray("000000000009099900999");
    QTest::newRow("negative count")
        << Rec(30, 45, {0, 1, 0}, 0, 40, 6, -7) << QByteArray("000300004501004006000");
}

void TestSettings::encodeIsAlwaysTwentyOneDigits()
{
    QFETCH(Record, values);
    QFETCH(QByteArray, line);
    const std::string written = EncodeRecord(values);
    QCOMPARE(QByteArray::fromStdString(written), line);
    // Read back, the line gives the values it holds.
    const Record back = DecodeRecord(written);
    QCOMPARE(QByteArray::fromStdString(EncodeRecord(back)), line);
    if (QByteArray(QTest::currentDataTag()) == "example") QCOMPARE(back, values);
}

void TestSettings::recordText_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty file") << QByteArray() << QByteArray("-");
    QTest::newRow("empty first line") << QByteArray("\r\n015000120011110608025") << QByteArray("");
    QTest::newRow("minus sign") << QByteArray("-\r\n") << QByteArray("-");
    QTest::newRow("CR LF") << QByteArray("015000120011110608025\r\nxyz") << QByteArray(Example);
    QTest::newRow("LF") << QByteArray("015000120011110608025\nxyz") << QByteArray(Example);
    QTest::newRow("no line end") << QByteArray(Example) << QByteArray(Example);
    QTest::newRow("leading blanks") << QByteArray(" \t 0150,00120") << QByteArray("0150");
    QTest::newRow("comma first") << QByteArray(",015000120011110608025") << QByteArray("");
    QTest::newRow("binary") << QByteArray("\x01\0\xff,", 4) << QByteArray("\x01\0\xff", 3);
}

void TestSettings::recordText()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(RecordText(head.toStdString())), text);
}

void TestSettings::whatTheControlsReceive()
{
    QVERIFY(!ToApply("-"));
    QVERIFY(ToApply("-0")); // only the exact sentinel means "no settings"

    // An empty record: everything reads 0; the sliders take their lowest values.
    auto a = ToApply("");
    QVERIFY(a);
    QCOMPARE(a->Set[0], std::optional<std::int16_t>(0));
    QCOMPARE(a->Len, (std::array<std::int32_t, 2>{3, 6}));
    QCOMPARE(a->Count, std::int16_t(0));

    // Greyed boxes pass; 3 to 9 is refused; positions go through unchanged.
    a = ToApply("-9999"
                "00005"
                "0239"
                "-0-5"
                "-99");
    QCOMPARE(a->Left, -9999);
    QCOMPARE(a->Top, 5);
    QCOMPARE(a->Set[0], std::optional<std::int16_t>(0));
    QCOMPARE(a->Set[1], std::optional<std::int16_t>(2));
    QCOMPARE(a->Set[2], std::optional<std::int16_t>());
    QCOMPARE(a->Filter, std::optional<std::int16_t>());
    QCOMPARE(a->Len, (std::array<std::int32_t, 2>{3, 6})); // -0 and -5
    QCOMPARE(a->Count, std::int16_t(0));                   // -99
}

void TestSettings::iniPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder") << "/opt/zintrova"
                            << "/opt/zintrova/Zintrova.ini";
    QTest::newRow("root") << "/"
                          << "/Zintrova.ini";
    QTest::newRow("drive root") << "C:/"
                                << "C:/Zintrova.ini";
    QTest::newRow("drive root, backslash") << "C:\\"
                                           << "C:\\Zintrova.ini";
    QTest::newRow("folder on a drive") << "C:/Tools"
                                       << "C:/Tools/Zintrova.ini";
}

void TestSettings::iniPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(IniPath(folder), path);
}

void TestSettings::readRecordFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Zintrova.ini");
    QCOMPARE(ReadRecordFile(path), std::string("-"));       // missing
    QCOMPARE(ReadRecordFile(dir.path()), std::string("-")); // a folder

    // Only the start of a long file is read.
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(Example) + QByteArray(2 * MaxHead, '7'));
    f.close();
    const std::string text = ReadRecordFile(path);
    QCOMPARE(text.size(), MaxHead);
    QCOMPARE(DecodeRecord(text), Rec(1500, 1200, {1, 1, 1}, 1, 6, 8, 25));

    QVERIFY(WriteRecordFile(path, Example));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("015000120011110608025\r\n"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
