#pragma once
#include "filelist/FileListView.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A shown list over a fresh folder, a fake launcher and scripted dialogs. Every dialog a test causes
// must be checked and cleared by it: leftovers fail the test.
class CommandFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = std::make_unique<TLsFilelistView28>();
        list->resize(700, 400);
        list->show();
    }
    void TearDown() override
    {
        list.reset();
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    static plat::Services fakes(test::FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.launcher = &l;
        return s;
    }
    int rowOf(const QString& caption) const
    {
        for (int r = 0; r < list->rowCount(); ++r)
            if (list->caption(r) == caption)
                return r;
        return -1;
    }
    void select(std::initializer_list<QString> captions)
    {
        list->clearSelection();
        for (const QString& c : captions) {
            const int r = rowOf(c);
            ASSERT_GE(r, 0) << c.toStdString();
            list->selectRow(r, true);
        }
    }
    QStringList selectedCaptions() const
    {
        QStringList out;
        for (int r : list->selectedRows())
            out << list->caption(r);
        return out;
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(list->currentView(), Qt::Key(k), mods);
    }
    // The open caption editor of the list, or null.
    QLineEdit* editor() const
    {
        return list->currentView()->viewport()->findChild<QLineEdit*>();
    }
    // Types a new caption into the open editor and accepts it; the rename runs once the editor has closed.
    void acceptEdit(const QString& text)
    {
        QLineEdit* e = editor();
        ASSERT_NE(e, nullptr);
        e->setText(text);
        QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // The only recorded dialog as "kind|caption|text"; clears the record.
    QString onlyDialog()
    {
        const auto calls = dialogs.calls();
        EXPECT_EQ(calls.size(), 1u);
        dialogs.clear();
        return calls.empty() ? QString() : calls[0].kind + u'|' + calls[0].caption + u'|' + calls[0].text;
    }

    test::TempTree t;
    test::ScriptedDialogs dialogs;
    test::FakeLauncher launcher;
    plat::ScopedServices services{fakes(launcher)};
    std::unique_ptr<TLsFilelistView28> list;
};
