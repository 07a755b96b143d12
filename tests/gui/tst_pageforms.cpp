#include "gui/ModalHelpers.h"
#include "gui/QtDialogs.h"
#include "gui/TNameFormView.h"
#include "gui/TTabFormView.h"
#include "mainwindow/TNameForm.h"
#include "mainwindow/TTabForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using lvtest::Child;
using lvtest::WhenModal;

namespace {

// A check box or button whose caption fits in the room it was given.
void VerifyCaptionFits(QWidget* control) {
    const QSize needed = control->sizeHint();
    QVERIFY2(needed.width() <= control->width() && needed.height() <= control->height(),
             qPrintable(control->objectName() + QStringLiteral(" needs %1x%2, has %3x%4")
                                                    .arg(needed.width())
                                                    .arg(needed.height())
                                                    .arg(control->width())
                                                    .arg(control->height())));
    QVERIFY(control->window()->rect().contains(
        QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size())));
}

} // namespace

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
            Child<QRadioButton>(modal, "BookmarkItem3")->click(); // "Copy Selected Bookmarks"
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

    // Also run with QT_SCALE_FACTOR=2 (see the CMake file).
    void captionsFitTheirControls() {
        lv::QtDialogs dialogs;
        WhenModal([](QWidget* modal) {
            [modal] {
                auto* box = Child<QCheckBox>(modal, "CheckBox1");
                QCOMPARE(box->text(), QStringLiteral("List Page Tabs Alphabetically?"));
                VerifyCaptionFits(box);
                QVERIFY(Child<QTreeWidget>(modal, "ListView1")->y() >= box->geometry().bottom());
            }();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        dialogs.NavPage({{"Home", "Work"}, 0xffffff, 0});

        lv::TTabFormView view;
        lv::TTabForm form;
        form.Open("Links", {"one"}, false, 0, 0);
        WhenModal([](QWidget* modal) {
            for (const char* name : {"SelectedColor", "UnselectedColor", "TabFont", "PassBox"}) {
                VerifyCaptionFits(Child<QWidget>(modal, name));
            }
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        view.Edit(form);
    }
};

QTEST_MAIN(TestPageForms)
#include "tst_pageforms.moc"
