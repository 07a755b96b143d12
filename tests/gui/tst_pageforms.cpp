#include "gui/ModalHelpers.h"
#include "gui/TNameFormView.h"
#include "gui/TTabFormView.h"
#include "mainwindow/TNameForm.h"
#include "mainwindow/TTabForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using lvtest::Child;
using lvtest::WhenModal;

class TestPageForms : public QObject {
    Q_OBJECT
private slots:
    void nameDialogKeepsATypedNameOnEnterAndDropsItOnEscape() {
        lv::TNameFormView view;
        lv::TNameForm form;
        const struct {
            Qt::Key key;
            std::string pending;
        } cases[] = {{Qt::Key_Return, "Caf\xe9 2"}, {Qt::Key_Escape, "Page1"}};
        for (const auto& c : cases) {
            std::string pending = "Page1";
            form.Open(pending);
            WhenModal([&c](QWidget* modal) {
                QCOMPARE(modal->windowTitle(), QStringLiteral("Enter New Page Name"));
                auto* edit = Child<QLineEdit>(modal, "Edit1");
                QCOMPARE(edit->text(), QStringLiteral("Page1"));
                edit->setText(QStringLiteral("Caf\u00e9 2"));
                QTest::keyClick(edit, c.key);
            });
            view.Edit(form);
            form.Finish(pending);
            QCOMPARE(pending, c.pending);
            QCOMPARE(form.Edit1, std::string());
        }
    }

    void optionsDialogHandsSelectedRowsAndTheClickedItemToTheForm() {
        lv::TTabFormView view;
        lv::TTabForm form;
        form.Open("Links", {"one", "", "three", "four"}, true, 0xff0000, 0);
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Page Options for the Links page."));
            QVERIFY(Child<QCheckBox>(modal, "PassBox")->isChecked());
            auto* list = Child<QTreeWidget>(modal, "BtnList");
            QCOMPARE(list->topLevelItemCount(), 3);
            QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("03"));
            auto* group = Child<QGroupBox>(modal, "BookmarkGroup");
            QCOMPARE(group->title(), QStringLiteral("Action for 0 Bookmarks:"));
            list->topLevelItem(1)->setSelected(true);
            list->topLevelItem(2)->setSelected(true);
            QCOMPARE(group->title(), QStringLiteral("Action for 2 Bookmarks:"));
            Child<QRadioButton>(modal, "BookmarkItem2")->click(); // "Copy Selected Bookmarks"
        });
        view.Edit(form);
        QVERIFY(form.Closed());
        QVERIFY(form.GetChoice() == lv::TTabForm::Choice::Bookmarks);
        QCOMPARE(form.BookmarkItem(), int(lv::TTabForm::CopyBookmarks));
        QCOMPARE(form.SelectedSlots(), (std::vector<int>{3, 4}));

        // Opened again: the first radio item is ticked and still acts when clicked.
        form.Open("Links", {"one"}, false, 0, 0);
        WhenModal([](QWidget* modal) {
            auto* rename = Child<QRadioButton>(modal, "PageItem0");
            QVERIFY(rename->isChecked());
            QCOMPARE(Child<QTreeWidget>(modal, "BtnList")->selectedItems().size(), 0);
            rename->click();
        });
        view.Edit(form);
        QVERIFY(form.GetChoice() == lv::TTabForm::Choice::PageAction);
        QCOMPARE(form.Code(), std::string("R"));

        form.Open("Links", {}, false, 0, 0);
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        view.Edit(form);
        QVERIFY(form.GetChoice() == lv::TTabForm::Choice::None);
    }
};

QTEST_MAIN(TestPageForms)
#include "tst_pageforms.moc"
