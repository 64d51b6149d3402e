#pragma once

class QLineEdit;
class QString;

namespace kdx {

class Form1;
class PositionMonitor;
class Prompter;
class SerialLink;

// Repeated back-and-forth stepping, and the step count it sends.
class StepMode {
public:
    // How long the repeat switch gives an answer still on its way to come
    // in before it puts its own command on the line.
    static constexpr int kPendingReplyGraceMs = 100;

    StepMode(Form1 &form, SerialLink &link, Prompter &prompter, PositionMonitor &monitor)
        : m_form(form), m_link(link), m_prompter(prompter), m_monitor(monitor)
    {
    }

    void Check3_Click();      // repeat switch
    void Timer2_Timer();      // one repeated step
    void Text9_Change();      // step count check
    void txtEncoder_Change(); // encoder resolution check
    void HScroll11_Change();  // pause between steps
    void Command33_Click();   // step mode

private:
    void letPendingReplyArrive();
    void checkCount(QLineEdit *box, const QString &notNumberText, const QString &notNumberTitle,
                    const QString &fallback);

    Form1 &m_form;
    SerialLink &m_link;
    Prompter &m_prompter;
    PositionMonitor &m_monitor;
};

} // namespace kdx
