#include "bridge/query_answer.h"

#include <algorithm>

namespace wlk::bridge {

namespace {

template <size_t N>
void CopyBounded(std::array<char16_t, N>& into, std::u16string_view text) {
    const size_t count = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), count, into.begin());
    into[count] = u'\0';
}

}  // namespace

void AnswerItem::SetName(std::u16string_view text) {
    CopyBounded(name, text);
}

void AnswerItem::SetToolTipText(std::u16string_view text) {
    CopyBounded(toolTipText, text);
}

}  // namespace wlk::bridge
