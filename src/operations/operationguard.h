#pragma once

#include <functional>

namespace kdx {

class Form1;
class SerialLink;

// Every window or timer event enters the program through run(). When the
// line fails in the middle of an operation, the whole operation ends here:
// the pointer goes back to the arrow and the link, which has already said
// what went wrong, is released for the next operation once the outermost one
// has unwound. Nothing thrown ever crosses the event dispatch.
class OperationGuard {
public:
    OperationGuard(Form1 &form, SerialLink &link) : m_form(form), m_link(link) {}

    void run(const std::function<void()> &operation);
    int depth() const { return m_depth; }

private:
    Form1 &m_form;
    SerialLink &m_link;
    int m_depth = 0;
};

} // namespace kdx
