#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace lv {

class THttpAsyForm;

// The link checker window on screen: the bad-links list, the control panel and the
// updated-links list over a THttpAsyForm. Answers arrive while the window runs its event loop,
// so the lists fill as the links are checked.
class THttpAsyFormView : public QDialog {
    Q_OBJECT
public:
    explicit THttpAsyFormView(QWidget* parent = nullptr);

    // Shows the checker modally, in the colours of the page tabs, until it is closed.
    void Check(THttpAsyForm& form, int backColor, int fontColor);
    void Render();

    QTreeWidget* View1() const { return view1_; }
    QTreeWidget* View2() const { return view2_; }
    QPushButton* SearchButton() const { return search_; }
    QPushButton* AbortButton() const { return abort_; }
    QLabel* TCountL() const { return tCount_; }

protected:
    void reject() override;

private:
    QTreeWidget* MakeList(const QString& name);
    void Fill(QTreeWidget* list, bool bad);
    void Act(const std::function<void()>& handler);

    THttpAsyForm* form_ = nullptr;
    QTreeWidget* view1_ = nullptr;
    QTreeWidget* view2_ = nullptr;
    QLabel* bCount_ = nullptr;
    QLabel* uCount_ = nullptr;
    QLabel* tCount_ = nullptr;
    QLabel* wait_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QSpinBox* upDown_ = nullptr;
    QSpinBox* atOnce_ = nullptr;
    QCheckBox* secondPass_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* abort_ = nullptr;
    bool rendering_ = false;
};

} // namespace lv
