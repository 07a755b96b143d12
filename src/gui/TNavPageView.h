#pragma once

#include "platform/Dialogs.h"

#include <QDialog>

class QCheckBox;
class QTreeWidget;

namespace lv {

// "Page Navigation": every page by name and number; a click on a row chooses that page.
class TNavPageView : public QDialog {
    Q_OBJECT
public:
    TNavPageView(const NavPageRequest& request, QWidget* parent = nullptr);

    // Shows the window modally: the chosen page's 1-based number, 0 when closed without one.
    int Choose();

    QCheckBox* Alphabetical() const { return alphabetical_; }
    QTreeWidget* List() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fill();

    NavPageRequest request_;
    QCheckBox* alphabetical_ = nullptr;
    QTreeWidget* list_ = nullptr;
    int chosen_ = 0;
};

} // namespace lv
