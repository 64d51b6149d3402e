#pragma once

#include <QtGlobal>

namespace kdx {

class Form1;
class Prompter;
class SerialLink;

// The live position error: polls "P9", shows the current and the largest
// error, and draws the error over time on the graph. Its whole state lives
// in the monitor's boxes (Text18..Text24).
class PositionMonitor {
public:
    PositionMonitor(Form1 &form, SerialLink &link, Prompter &prompter)
        : m_form(form), m_link(link), m_prompter(prompter)
    {
    }

    void Timer1_Timer();           // one sampling tick
    void Check2_Click();           // monitor switch
    void Command28_Click();        // zeroing with the busy pointer
    void Command39_Click();        // zeroing
    void Combo1_Change();          // error scale typed
    void Combo1_Click();           // error scale picked
    void Combo2_Change();          // time scale typed
    void Combo2_Click();           // time scale picked
    void Text20_Change();          // largest-error tracking
    void Text21_Change();          // trace wrap
    void HScrollsebesseg_Change(); // sampling interval

    // Fills the two scale lists (start-up).
    void fillScaleLists();

    // Lets the poll run again after a pause, unless the operator has switched
    // the monitor off.
    void resumePoll();

    // The line has opened, perhaps to another controller: no reading of it
    // has arrived yet.
    void forgetReading() { m_latestRaw = 0; }

private:
    void showAxisCaptions();
    void takeReading(qint16 value);
    void drawNextSegment();
    void clearTrace();
    void checkErrorScale();

    Form1 &m_form;
    SerialLink &m_link;
    Prompter &m_prompter;
    // The raw position error last received, 0 before the first one. The
    // raw-reading box cannot tell it: switching the monitor off empties the
    // box, and a zeroing sets it to 0.
    qint16 m_latestRaw = 0;
};

} // namespace kdx
