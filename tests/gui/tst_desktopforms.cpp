// The hotkey dialog and the icon chooser on screen.
#include "gui/ModalHelpers.h"
#include "gui/TGlyphFormView.h"
#include "gui/THNoShape.h"
#include "gui/THotKeyFormView.h"
#include "gui/TImagesScroll.h"
#include "store/TIniFile32.h"
#include "support/FakeGlobalHotKeys.h"
#include "support/TempDir.h"
#include "tools/TGlyphForm.h"
#include "tools/THotKeyForm.h"
#include "tools/THotKeyManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using lvtest::Child;
using lvtest::WhenModal;

class TestDesktopForms : public QObject {
    Q_OBJECT
private slots:
    void hotKeyDialogSavesTypedKeyAndBoxes() {
        lvtest::TempDir dir;
        const std::string settings = dir.File("lvd.ini");
        lvtest::FakeGlobalHotKeys desktop;
        lv::THotKeyManager manager(&desktop);
        lv::THotKeyForm form;
        form.onSave = [&] { form.SaveClick(settings, manager, nullptr); };
        form.FormActivate(settings);
        lv::THotKeyFormView view;
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Define HotKeys"));
            QVERIFY(!Child<QLabel>(modal, "Unavailable")->isVisibleTo(modal));
            QVERIFY(Child<QCheckBox>(modal, "DBox1")->isChecked());
            Child<QCheckBox>(modal, "Ctrl2")->setChecked(true);
            Child<QCheckBox>(modal, "Alt2")->setChecked(true);
            Child<QComboBox>(modal, "Box2")->setCurrentText(QStringLiteral("F10"));
            Child<QCheckBox>(modal, "DBox2")->click(); // unticks the hide row too
            QVERIFY(!Child<QCheckBox>(modal, "DBox1")->isChecked());
            Child<QComboBox>(modal, "Box5")->lineEdit()->setText(QStringLiteral("escape"));
            Child<QCheckBox>(modal, "DBox5")->click();
            QTest::mouseClick(Child<QWidget>(modal, "SaveBtn"), Qt::LeftButton);
        });
        view.Edit(form);
        QVERIFY(form.Closed());
        const lv::TIniFile32 ini(settings);
        QCOMPARE(ini.ReadString("HotKey", "Shift2", ""), std::string("Ctrl,Alt"));
        QCOMPARE(ini.ReadString("HotKey", "Key5", ""), std::string("escape"));
        QCOMPARE(ini.ReadString("HotKey", "D1", ""), std::string("On"));
        QCOMPARE(desktop.Registered().at(0xA005).virtualKey, 0x1B);
        QCOMPARE(desktop.Registered().at(0xA002).modifiers, 6);
    }

    void hotKeyDialogSaysWhenTheDesktopHasNone() {
        lv::THotKeyForm form;
        form.available = false;
        form.unavailableText = "This desktop offers no global hotkeys.";
        lv::THotKeyFormView view;
        WhenModal([](QWidget* modal) {
            auto* label = Child<QLabel>(modal, "Unavailable");
            QVERIFY(label->isVisibleTo(modal));
            QCOMPARE(label->text(), QStringLiteral("This desktop offers no global hotkeys."));
            QTest::mouseClick(Child<QWidget>(modal, "CloseBtn"), Qt::LeftButton);
        });
        view.Edit(form);
        QVERIFY(form.Closed());
    }

    void chooserStripClickPicksTheEntry() {
        lvtest::TempDir dir;
        const std::string dataFile = dir.File("Disk.LVD");
        lv::TIniFile32(dataFile).WriteString("Page1", "03U", "http://example.com/");
        lv::TGlyphForm form;
        form.FormActivate({dataFile, "Page1", "03", true, false}, nullptr);
        lv::TGlyphFormView view;
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Select an Icon"));
            auto* strip = Child<lv::TImagesScroll>(modal, "ImagesScroll1");
            QCOMPARE(strip->Count(), 0);
            // Button pictures are shaped: their transparent corner is outside.
            auto* internal = Child<lv::THNoShape>(modal, "DefaultBtn");
            QTest::mouseClick(internal, Qt::LeftButton, {}, QPoint(1, 1));
            QCOMPARE(strip->Count(), 0);
            QTest::mouseClick(internal, Qt::LeftButton);
            QCOMPARE(strip->Count(), 121);
            QCOMPARE(strip->CellSize(), QSize(19, 16));
            QTest::mouseClick(strip->widget(), Qt::LeftButton, {}, strip->CellCentre(4));
        });
        view.Choose(form);
        QVERIFY(form.Closed());
        QCOMPARE(form.Result(), 4);
        QCOMPARE(lv::TIniFile32(dataFile).ReadString("Page1", "03G", ""), std::string("4"));
    }

    void chooserEscapeIsNoChoice() {
        lvtest::TempDir dir;
        lv::TGlyphForm form;
        form.FormActivate({dir.File("Disk.LVD"), "Default", "Icon", true, true}, nullptr);
        lv::TGlyphFormView view;
        WhenModal([](QWidget* modal) {
            QVERIFY(!Child<lv::THNoShape>(modal, "FileBtn")->isVisibleTo(modal));
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        view.Choose(form);
        QVERIFY(form.Closed());
        QCOMPARE(form.Result(), 120);
        QVERIFY(form.GetChoice() == lv::TGlyphForm::Choice::None);
    }
};

QTEST_MAIN(TestDesktopForms)
#include "tst_desktopforms.moc"
