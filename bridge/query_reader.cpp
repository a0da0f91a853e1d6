#include "bridge/query_reader.h"

#include <tinyxml.h>

#include <algorithm>
#include <limits>
#include <optional>

#include "bridge/interchange.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/xml_guard.h"

namespace wlk::bridge {

namespace {

// The readability limit the log line reports for the query text.
constexpr int kMaxQueryLength = 409600;
// A missing keyboard-layout half; either half missing leaves no layout.
constexpr uint32_t kMissingHalf = 65535;
// Digits taken from the window handle text at most.
constexpr size_t kMaxHandleChars = 20;

std::optional<long long> Decimal(const char* text) {
    if (!text) return std::nullopt;
    return ParseInt(FromLatin1(text));
}

int32_t Saturated32(long long value) {
    return static_cast<int32_t>(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
}

int32_t IntAttribute(const TiXmlElement& element, const char* name, int32_t missing) {
    const auto value = Decimal(element.Attribute(name));
    return value ? Saturated32(*value) : missing;
}

// Handles travel as signed 32-bit numbers; Windows sign-extends them.
platform::WindowId HandleFrom(int32_t value) {
    return static_cast<platform::WindowId>(static_cast<intptr_t>(value));
}

const char* ChildText(const TiXmlElement& parent, const char* name) {
    const TiXmlElement* child = parent.FirstChildElement(name);
    return child ? child->GetText() : nullptr;
}

Text ChildUtf16(const TiXmlElement& parent, const char* name) {
    const char* text = ChildText(parent, name);
    return text ? FromUtf8(text) : Text();
}

// The element named "HKLLoword" carries the high half of the handle.
uint32_t KeyboardLayout(const TiXmlElement& query) {
    auto half = [&](const char* name) -> uint32_t {
        const auto value = Decimal(ChildText(query, name));
        return value ? static_cast<uint32_t>(*value) & 0xFFFF : kMissingHalf;
    };
    const uint32_t high = half("HKLLoword");
    const uint32_t low = half("HKLHoword");
    if (high == kMissingHalf || low == kMissingHalf) return 0;
    return (high << 16) | low;
}

void ReadSelection(const TiXmlElement& query, TargetContext& context) {
    const TiXmlElement* sel = query.FirstChildElement("SelText");
    if (!sel) return;  // state stays "no text selected"
    context.StateSelText = IntAttribute(*sel, "StateSelText", -1);
    if (const char* text = sel->GetText()) context.SelText = FromUtf8(text);
}

void ReadGuiHandles(const TiXmlElement& query, GuiThreadInfo& gui) {
    gui.HWND_Active = HandleFrom(IntAttribute(query, "HWND_Active", 0));
    gui.HWND_Capture = HandleFrom(IntAttribute(query, "HWND_Capture", 0));
    gui.HWND_Caret = HandleFrom(IntAttribute(query, "HWND_Caret", 0));
    gui.HWND_Focus = HandleFrom(IntAttribute(query, "HWND_Focus", 0));
    gui.HWND_MenuOwner = HandleFrom(IntAttribute(query, "HWND_MenuOwner", 0));
}

// Elements cannot nest deeper than there are '<' in the text, nor carry more
// attributes than there are '='; only a text with many of them (a real query
// has about fifteen of each) needs following token by token.
bool ShallowEnough(std::string_view text) {
    if (size_t(std::count(text.begin(), text.end(), '<')) <= kMaxXmlNesting &&
        size_t(std::count(text.begin(), text.end(), '=')) <= kMaxXmlAttributes)
        return true;
    const std::optional<size_t> nesting = XmlNestingDepth(text);
    return nesting && *nesting <= kMaxXmlNesting;
}

}  // namespace

bool ParseQuery(std::string_view text, TargetContext& context) {
    if (text.empty()) return false;
    if (!ShallowEnough(text)) return false;
    // TinyXML steps over a multi-byte character by the length its lead byte
    // claims, so a sequence cut off at the end would take it past the text; a
    // margin of terminators keeps it inside.
    std::string padded(text);
    padded.append(8, '\0');
    TiXmlDocument document;
    {
        TinyXmlWhiteSpace condensed(true);
        document.Parse(padded.c_str());
    }
    const TiXmlElement* query = document.FirstChildElement("LKQuery");
    if (!query) return false;

    context.POINT_X = IntAttribute(*query, "POINT_X", -1);
    context.POINT_Y = IntAttribute(*query, "POINT_Y", -1);
    ReadGuiHandles(*query, context.guiThread);
    context.AppPath = ChildUtf16(*query, "AppPath");
    context.WindowClassName = ChildUtf16(*query, "WindowClassName");
    if (const char* handle = ChildText(*query, "HWND")) {
        const auto value = Decimal(std::string(handle).substr(0, kMaxHandleChars).c_str());
        if (value) context.HWND = HandleFrom(Saturated32(*value));
    }
    context.HKL = KeyboardLayout(*query);
    ReadSelection(*query, context);
    return true;
}

bool ReadQueryText(const Text& areaName, std::string& text) {
    auto& log = log::EventLog::Instance();
    auto area = platform::Current().shared.Open(areaName, kInterchangeAreaSize);
    if (!area) {
        log.Write(u"cannot open file");
        return false;
    }
    // Any process may have filled the area without a terminator.
    std::optional<std::string> read = area->ReadText();
    if (!read) return false;
    log.Write(Format(u"Read A from buffer, filelen=%d max_len=%d",
                     {ToText(static_cast<long long>(read->size())), ToText(kMaxQueryLength)}));
    text = std::move(*read);
    return true;
}

bool ReadQuery(const Text& areaName, TargetContext& context) {
    std::string text;
    return ReadQueryText(areaName, text) && ParseQuery(text, context);
}

}  // namespace wlk::bridge
