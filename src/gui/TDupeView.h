#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QTreeView;

namespace lv {

class TDupe;

// The result list of the search window as a model: the rows are read from the window's logic
// when shown, so tens of thousands of rows cost nothing until they scroll into view.
class DupeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DupeListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void SetWindow(const TDupe* dupe);
    // The rows changed: the view reads them again.
    void Reset();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const TDupe* dupe_ = nullptr;
};

// "Search Linkvane Bookmarks" on screen, without blocking the main window. The view shows the
// window's fields and turns input into handler calls, each run through the main window's
// dispatch so file errors are reported and the main window is drawn again.
class TDupeView : public QDialog {
    Q_OBJECT
public:
    using DispatchFn = std::function<void(const std::function<void()>&)>;
    TDupeView(QWidget* parent, DispatchFn dispatch);

    // Shows the window (or brings it to the front) over the given logic.
    void Open(TDupe& dupe);
    void Render();

    QTreeView* List() const { return list_; }
    DupeListModel* Model() const { return model_; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Run(const std::function<void()>& handler, bool busy = false);

    DispatchFn dispatch_;
    TDupe* dupe_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    QRadioButton* modeButtons_[4] = {};
    QCheckBox* caseBox_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QToolButton* search_ = nullptr;
    QCheckBox* asYouType_ = nullptr;
    QCheckBox* trivial_ = nullptr;
    QPushButton* move_ = nullptr;
    QTreeView* list_ = nullptr;
    QLabel* hint_ = nullptr;
    DupeListModel* model_ = nullptr;
    bool inHandler_ = false;
    bool ownDialogShown_ = false;
};

} // namespace lv
