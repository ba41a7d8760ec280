#include "wave/BextFields.h"

#include <array>

namespace wave {

namespace {

using R = EbuInfoRecord;

constexpr std::array<BextFieldRow, 6> kRows = {{
    {&R::m_strDescription, "description", "Description:"},
    {&R::m_strOriginator, "originator", "Originator:"},
    {&R::m_strOriginatorRef, "originatorReference", "Originator Reference:"},
    {&R::m_strOriginationDate, "originationDate", "Origination Date:"},
    {&R::m_strOriginationTime, "originationTime", "Origination Time:"},
    {&R::m_strCodingHistory, "codingHistory", "Coding History:"},
}};

}  // namespace

std::span<const BextFieldRow> BextFieldRows() { return kRows; }

}  // namespace wave
