#pragma once

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;

namespace lv {

class TPForm;
class GaugeBar;

// "Access Speed" on screen: the host being pinged while the echoes run, then one bar per host;
// a click on a bar picks its bookmark and closes the dialog.
class TPFormView : public QDialog {
    Q_OBJECT
public:
    explicit TPFormView(QWidget* parent = nullptr);

    // Shows the form modally: pings its hosts, shows the bars, waits for a click or Escape.
    void Ping(TPForm& form, int color, int fontColor);

private:
    void ShowProgress();
    void ShowGauges();

    TPForm* form_ = nullptr;
    QComboBox* hostEdit_ = nullptr;
    QLabel* label_ = nullptr;
    QLabel* speedLabel_ = nullptr;
    std::vector<GaugeBar*> bars_;
};

} // namespace lv
