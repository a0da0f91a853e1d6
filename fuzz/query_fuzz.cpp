// Arbitrary bytes as the interchange area's query text, which any process may
// write: reading must neither crash nor hand out a value outside its rules.
#include <string>

#include "bridge/answer_writer.h"
#include "bridge/query_reader.h"
#include "fuzz/fuzz_support.h"

namespace wlk::fuzz {

constexpr char16_t kArea[] = u"Local\\wlk-fuzz-query";
constexpr size_t kAreaSize = 1 << 16;

void CheckContext(const bridge::TargetContext& c, bool read) {
    Require(c.guiThread.cbSize == 48);
    Require(c.guiThread.flags == 0 && c.guiThread.HWND_MoveSize == 0);
    if (!read) Require(c.AppPath.empty() && c.HWND == 0 && c.POINT_X == -1 && c.HKL == 0);
    // A layout handle is only made of two halves that were both given.
    Require((c.HKL >> 16) != 0xFFFF && (c.HKL & 0xFFFF) != 0xFFFF);
}

// What the query names goes back out as an answer, as a receiver might echo it.
void EchoAnswer(const bridge::TargetContext& c) {
    bridge::QueryAnswer answer;
    bridge::AnswerItem item;
    item.SetName(c.SelText);
    item.SetToolTipText(c.AppPath);
    item.CMDID = 1;
    answer.items.push_back(std::move(item));
    Require(!bridge::PrintAnswer(answer).empty());
}

void FuzzOne(const std::string& bytes) {
    auto& sim = Sim();
    static auto area = sim.platform.shared.Create(kArea, kAreaSize, platform::Security::Everyone);
    Require(area != nullptr);

    bridge::TargetContext parsed;
    const bool read = bridge::ParseQuery(bytes, parsed);
    Require(!read || bytes.find("LKQuery") != std::string::npos);
    CheckContext(parsed, read);
    if (read) EchoAnswer(parsed);

    // Through the area the text ends at its first zero byte, or is refused
    // when the area holds none.
    if (bytes.size() > kAreaSize) return;
    const bool fills = bytes.size() == kAreaSize;
    Require(sim.shared.PutBytes(kArea, fills ? bytes : bytes + '\0'));
    const bool terminated = !fills || bytes.find('\0') != std::string::npos;
    std::string text;
    Require(bridge::ReadQueryText(kArea, text) == terminated);
    if (terminated) Require(text == bytes.substr(0, bytes.find('\0')));
}

}  // namespace wlk::fuzz
