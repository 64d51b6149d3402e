#include "paramrows.h"

namespace kdx {

ParamRows::ParamRows()
{
    for (int n = 0; n < kParamCount; ++n) {
        const ParamSpec &p = param(n);
        Row &row = m_rows[std::size_t(n)];
        row.current = std::make_unique<Text>();
        row.newValue = std::make_unique<Text>();
        row.dial = std::make_unique<Dial>(p.scrollMin, p.scrollMax, p.scrollStart);
    }
}

void ParamRows::dialMoved(int n)
{
    newValue(n).set(QString::number(dial(n).value()));
}

void ParamRows::clearAll()
{
    for (int n = 0; n < kParamCount; ++n)
        current(n).clear();
    clearNewValues();
}

void ParamRows::clearNewValues()
{
    for (int n = 0; n < kParamCount; ++n)
        newValue(n).clear();
}

} // namespace kdx
