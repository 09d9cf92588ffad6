#pragma once
#include "AppTestSupport.h"
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "foldertree/ShellTree.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>

// A clean account, fake instances, hotkeys and launcher, scripted dialogs. Every dialog and beep a test
// causes must be checked and cleared by it: leftovers fail the test.
class OrvoFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        apptest::cleanAccount();
        instances.takeSlot();
        // The folder tree starts at the desktop folder; give the lists a real one to show.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    void TearDown() override
    {
        window.reset();
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
        apptest::cleanAccount();
    }
    static plat::Services fakes(test::FakeInstances& i, test::FakeHotkeys& h, test::FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.instances = &i;
        s.hotkeys = &h;
        s.launcher = &l;
        return s;
    }
    static int rowOf(const TLsFilelistView28* list, const QString& caption)
    {
        for (int r = 0; r < list->rowCount(); ++r)
            if (list->caption(r) == caption)
                return r;
        return -1;
    }
    static QStringList captions(const TLsFilelistView28* list)
    {
        QStringList out;
        for (int r = 0; r < list->rowCount(); ++r)
            out << list->caption(r);
        return out;
    }
    TOrvo& open(const QStringList& args = {})
    {
        window = std::make_unique<TOrvo>(args);
        return *window;
    }

    test::ScriptedDialogs dialogs;
    test::FakeInstances instances;
    test::FakeHotkeys hotkeys;
    test::FakeLauncher launcher;
    plat::ScopedServices services{fakes(instances, hotkeys, launcher)};
    std::unique_ptr<TOrvo> window;
};
