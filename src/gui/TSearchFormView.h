#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace lv {

class TSearchForm;

// The Internet Search window on screen over a TSearchForm: the topic, the list of sites, and the
// buttons that keep the search-engine file. It closes when the form says so.
class TSearchFormView : public QDialog {
    Q_OBJECT
public:
    explicit TSearchFormView(QWidget* parent = nullptr);

    // Shows the form (already activated) modally until a search or "Close" ends it.
    void Search(TSearchForm& form);

    QTreeWidget* SiteList() const { return list_; }
    QLineEdit* Topic() const { return topic_; }
    QLineEdit* SiteName() const { return siteName_; }

protected:
    void reject() override;

private:
    void Fill();
    void TakeTexts();
    template <typename Handler> void Run(Handler handler);
    QPushButton* AddButton(const QString& name, const QString& text, int x, int y, int width,
                           void (TSearchForm::*handler)());

    TSearchForm* form_ = nullptr;
    bool filling_ = false;
    QLabel* topicLabel_ = nullptr;
    QLineEdit* topic_ = nullptr;
    QLabel* searchLabel_ = nullptr;
    QPushButton* search_ = nullptr;
    QLabel* listLabel_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* siteLabel_ = nullptr;
    QLineEdit* siteName_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* files_[4] = {};
};

} // namespace lv
