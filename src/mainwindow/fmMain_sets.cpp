// The character sets, the look-alike filter and composing a password.

#include "mainwindow/fmMain.h"

#include "engine/composer.h"
#include "engine/secret.h"

namespace zintrova {

void fmMain::InitSets()
{
    zintrova::InitSets(BaseSet, Similar);
}

void fmMain::BuildPool()
{
    const SetValues values = {0, cbSet[1]->Value(), cbSet[2]->Value(), cbSet[3]->Value()};
    zintrova::BuildPool(BaseSet, Similar, cbFilter->Value(), values, Exclude, UseSet, Pool);
}

void fmMain::GeneratePass()
{
    if (Busy == busy::Composing) return;
    const std::int16_t was = Busy;
    Busy = busy::Composing;
    if (Pool.empty()) BuildPool();
    if (!Pool.empty()) {
        std::string password = ComposePassword(sldLen[0]->value(), sldLen[1]->value(), UseSet, Pool,
                                               *Random, MinPerSet);
        // With a pool to draw from, only a random source that failed gives no password. The
        // label then shows none, so nothing can be copied, and its tooltip says why.
        randomFailed_ = password.empty();
        // The label's caption is the one copy that stays; the composer's string is overwritten.
        lbPass->setCaption(
            QString::fromLatin1(password.data(), static_cast<qsizetype>(password.size())));
        ReleaseSecret(password);
        lbPass->setToolTip(randomFailed_
                               ? QStringLiteral(" No password: Zintrova cannot get secure "
                                                "random numbers from the system. ")
                               : QString());
        if (randomFailed_) shCopy->setVisible(false);
    }
    Busy = was;
}

bool fmMain::CanCompose() const
{
    // A stale (empty) pool is rebuilt from the boxes; a built one keeps the earlier selection.
    return !Pool.empty() || cbSet[1]->Value() + cbSet[2]->Value() + cbSet[3]->Value() != 0;
}

void fmMain::cbFilter_Click()
{
    if (Busy != busy::Idle) return;
    Pool.clear();
    GeneratePass();
}

void fmMain::cbSet_Click(std::int16_t Index)
{
    (void)Index;
    if (Busy != busy::Idle) return;
    if (cbSet[1]->Value() + cbSet[2]->Value() + cbSet[3]->Value() != 0) {
        Pool.clear();
        GeneratePass();
    } else {
        // The last set was turned off: lower case comes back on, and its own click composes.
        cbSet[1]->setValue(1);
    }
}

void fmMain::cmGen_Click()
{
    if (Busy != busy::Idle) return;
    GeneratePass();
}

} // namespace zintrova
