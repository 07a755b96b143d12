// Real key events on the main window's key sink and URL box.
#include "gui/LaunchControls.h"
#include "gui/MainWindowView.h"
#include "gui/ModalHelpers.h"
#include "gui/QtDialogs.h"
#include "gui/TBConfigFormView.h"
#include "gui/TNavPageView.h"
#include "mainwindow/TBConfigForm.h"
#include "mainwindow/launch_fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

namespace {

struct Window {
    lvtest::LaunchHarness h;
    lv::MainWindowView* view = nullptr;

    explicit Window(const std::string& pages) {
        h.tabs = "Count=3\r\nTab1=Alpha\r\nTab2=Beta\r\nTab3=Bravo\r\n";
        h.Start(pages);
        view = new lv::MainWindowView(*h.form, h.dialogs, QString());
        view->Render();
        view->ApplyPlace();
    }
    ~Window() { delete view; }
    QLineEdit* Keys() const { return view->Launch()->Keys(); }
    const lv::MainWindowState& State() const { return h.form->State(); }
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void downWalksTheSlotsAndStopsAtTheLastVisibleOne() {
        Window w("[Alpha]\r\n02N=Two\r\n02U=http://two.example/\r\n");
        QTest::keyClick(w.Keys(), Qt::Key_Down);
        QTest::keyClick(w.Keys(), Qt::Key_Down);
        QCOMPARE(w.State().SelectedSlot, 2);
        QCOMPARE(w.view->windowTitle(), QStringLiteral("2 : http://two.example/"));
        for (int i = 0; i < 85; ++i) {
            QTest::keyClick(w.Keys(), Qt::Key_Down);
        }
        QCOMPARE(w.State().SelectedSlot, 80);

        w.view->Dispatch([&] { w.h.form->MColumn2Click(); });
        QTest::keyClick(w.Keys(), Qt::Key_Up);
        for (int i = 0; i < 45; ++i) {
            QTest::keyClick(w.Keys(), Qt::Key_Down);
        }
        QCOMPARE(w.State().SelectedSlot, 40);
    }

    void enterLaunchesTheSelectedBookmark() {
        Window w("[Alpha]\r\n01N=One\r\n01U=http://one.example/\r\n");
        QTest::keyClick(w.Keys(), Qt::Key_Down);
        QTest::keyClick(w.Keys(), Qt::Key_Return);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://one.example/"));
        QVERIFY(w.Keys()->text().isEmpty());
    }

    void pageKeysAndLettersSwitchPages() {
        Window w("");
        QTest::keyClick(w.Keys(), Qt::Key_Left);
        QCOMPARE(w.view->Tabs()->currentIndex(), 2);
        QTest::keyClick(w.Keys(), Qt::Key_Home);
        QCOMPARE(w.view->Tabs()->currentIndex(), 0);
        QTest::keyClick(w.Keys(), Qt::Key_B);
        QCOMPARE(w.view->Tabs()->currentIndex(), 1);
        QTest::keyClicks(w.Keys(), QStringLiteral("b"));
        QCOMPARE(w.view->Tabs()->currentIndex(), 2);
        QTest::keyClick(w.Keys(), Qt::Key_End);
        QTest::keyClick(w.Keys(), Qt::Key_Right);
        QCOMPARE(w.view->Tabs()->currentIndex(), 0);
        QVERIFY(w.Keys()->text().isEmpty());
    }

    void urlBoxOpensOnEnterAndRemembersTheEntry() {
        Window w("");
        QComboBox* box = w.view->Launch()->UrlBox();
        box->lineEdit()->setFocus();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("www.example.com"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://www.example.com/"));
        QCOMPARE(box->count(), 1);
        QCOMPARE(box->itemText(0), QStringLiteral("http://www.example.com/"));
        QVERIFY(box->currentText().isEmpty());

        box->setEditText(QStringLiteral("http://www.example.com/"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(box->count(), 0);
    }

    void theKeySinkHasTheFocusFromTheStartAndAfterEveryAction() {
        Window w("[Alpha]\r\n01N=One\r\n01U=http://one.example/\r\n");
        QVERIFY(QTest::qWaitForWindowActive(w.view));
        QCOMPARE(QApplication::focusWidget(), w.Keys());
        // The keys go wherever the focus is: nothing is aimed at the sink.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://one.example/"));

        // Whatever had the focus, an action gives it back to the sink: here a click on a tab
        // while an address is half typed into the URL box, which keeps the text.
        QLineEdit* url = w.view->Launch()->UrlBox()->lineEdit();
        QTest::mouseClick(url, Qt::LeftButton);
        QVERIFY(w.view->Launch()->UrlBox()->hasFocus());
        QTest::keyClicks(url, QStringLiteral("www.exa"));
        QTabBar* tabs = w.view->Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(w.State().TabSet1.selected, 1);
        QCOMPARE(QApplication::focusWidget(), w.Keys());
        QCOMPARE(url->text(), QStringLiteral("www.exa"));
    }

    // The navigator opens on the page shown, so Up and Enter go to the row above it; sorting
    // keeps the row the keys are on.
    void enterConfirmsThePageNavigator() {
        lv::NavPageRequest request{{"Cherry", "Apple", "Banana"}, 0, 0, 1};
        const struct {
            bool alphabetical;
            int expected;
        } cases[] = {{false, 1}, {true, 2}};
        for (const auto& c : cases) {
            lv::TNavPageView view(request);
            QWidget* focused = nullptr;
            QString first;
            QString sorted;
            bool closed = false;
            lvtest::WhenModal([&](QWidget* modal) {
                auto* list = lvtest::Child<QTreeWidget>(modal, "ListView1");
                focused = modal->focusWidget();
                first = list->currentItem() != nullptr ? list->currentItem()->text(0) : QString();
                lvtest::Child<QCheckBox>(modal, "CheckBox1")->setChecked(c.alphabetical);
                sorted = list->currentItem() != nullptr ? list->currentItem()->text(0) : QString();
                QTest::keyClick(list, Qt::Key_Up);
                QTest::keyClick(list, Qt::Key_Return);
                closed = !modal->isVisible();
                if (!closed) {
                    modal->close();
                }
            });
            const int chosen = view.Choose();
            QCOMPARE(focused, view.List());
            QCOMPARE(first, QStringLiteral("Apple"));
            QCOMPARE(sorted, QStringLiteral("Apple"));
            QVERIFY(closed);
            QCOMPARE(chosen, c.expected);
        }
    }

    void enterClosesTheCountBox() {
        lv::QtDialogs dialogs;
        bool closed = false;
        lvtest::WhenModal([&closed](QWidget* modal) {
            QTest::keyClick(modal, Qt::Key_Return);
            closed = !modal->isVisible();
            if (!closed) {
                modal->close();
            }
        });
        dialogs.Count({"Bookmark Count", "12 Bookmarks", 0, 0});
        QVERIFY(closed);
    }

    void tabLeavesTheEditorsNotesForTheNextField() {
        lv::TBConfigFormView view;
        lv::TBConfigForm form;
        form.Open();
        form.EI1 = "keep";
        bool onToExtra = false;
        QString notesText;
        lvtest::WhenModal([&](QWidget* modal) {
            auto* notes = lvtest::Child<QPlainTextEdit>(modal, "EI1");
            notes->setFocus();
            notes->moveCursor(QTextCursor::End);
            QTest::keyClick(notes, Qt::Key_Tab);
            onToExtra = modal->focusWidget() == lvtest::Child<QLineEdit>(modal, "EI2");
            notesText = notes->toPlainText();
            modal->close();
        });
        view.Edit(form);
        QVERIFY(onToExtra);
        QCOMPARE(notesText, QStringLiteral("keep"));
    }

    void aClickOnAButtonLaunchesIt() {
        Window w("[Alpha]\r\n03N=Three\r\n03U=http://three.example/\r\n");
        QTest::mouseClick(w.view->Button(3), Qt::LeftButton);
        QCOMPARE(w.h.launcher.starts.size(), std::size_t(1));
        QCOMPARE(w.h.launcher.starts[0].argument, std::string("http://three.example/"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
