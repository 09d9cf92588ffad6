#pragma once
#include "app/Orvo.h"
#include "filelist/FileListView.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace test {

// The main window with fake instances, hotkeys and launcher and scripted dialogs. Tool windows it opened
// are deleted before it; every dialog a test causes must be checked and cleared by the test.
// Header-only: suites that link the main window include it.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        instances.takeSlot();
        // The folder tree starts at the desktop folder; give the lists a real one to show.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    void TearDown() override
    {
        // Collected first: deleting a window deletes its menus, which are top-level widgets too.
        std::vector<QPointer<QWidget>> tools;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t != window.get() && !t->parentWidget() && t->testAttribute(Qt::WA_DeleteOnClose))
                tools.emplace_back(t);
        for (const QPointer<QWidget>& t : tools)
            delete t.data();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    static plat::Services fakes(FakeInstances& i, FakeHotkeys& h, FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.instances = &i;
        s.hotkeys = &h;
        s.launcher = &l;
        return s;
    }
    TOrvo& open(const QStringList& args = {})
    {
        window = std::make_unique<TOrvo>(args);
        return *window;
    }
    // The tool windows of one kind, in the order the application lists them.
    template <class T>
    static QList<T*> toolWindows(bool visibleOnly = false)
    {
        QList<T*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w); t && (!visibleOnly || t->isVisible()))
                out.append(t);
        return out;
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

    ScriptedDialogs dialogs;
    FakeInstances instances;
    FakeHotkeys hotkeys;
    FakeLauncher launcher;
    plat::ScopedServices services{fakes(instances, hotkeys, launcher)};
    std::unique_ptr<TOrvo> window;
};

} // namespace test
