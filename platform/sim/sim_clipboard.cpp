#include "platform/sim/sim_clipboard.h"

#include <algorithm>

#include "platform/text.h"

namespace wlk::platform::sim {

namespace {

constexpr uint32_t kErrorClipboardNotOpen = 1418;
constexpr uint32_t kErrorInvalidWindow = 1400;
constexpr uint32_t kLangRussian = 0x19;

// Windows-1251 for the Cyrillic letters, so that a locale visibly changes the
// conversion; Latin-1 elsewhere.
char16_t FromCp1251(unsigned char c) {
    if (c >= 0xC0) return char16_t(0x0410 + (c - 0xC0));
    if (c == 0xA8) return u'\u0401';
    if (c == 0xB8) return u'\u0451';
    return char16_t(c);
}

}  // namespace

uint32_t SimClipboard::SequenceNumber() {
    std::lock_guard lock(mutex_);
    return sequence_;
}

WindowId SimClipboard::Owner() {
    std::lock_guard lock(mutex_);
    return owner_;
}

uint32_t SimClipboard::RegisterFormat(const Text& name) {
    std::lock_guard lock(mutex_);
    auto [it, added] = registered_.emplace(ToLower(name), nextRegistered_);
    if (added) names_[nextRegistered_++] = name;
    return it->second;
}

Text SimClipboard::FormatName(uint32_t format) {
    std::lock_guard lock(mutex_);
    auto it = names_.find(format);
    return it == names_.end() ? Text() : it->second.substr(0, kMaxFormatName);
}

void SimClipboard::ForgetRegistrations() {
    std::lock_guard lock(mutex_);
    registered_.clear();
}

uint32_t SimClipboard::FormatId(const Text& name) {
    std::lock_guard lock(mutex_);
    auto it = registered_.find(ToLower(name));
    return it == registered_.end() ? 0 : it->second;
}

bool SimClipboard::IsFormatAvailable(uint32_t format) {
    std::lock_guard lock(mutex_);
    if (format == kCfBitmap) return bitmap_ != nullptr;
    return formats_.count(format) != 0;
}

std::optional<std::vector<uint32_t>> SimClipboard::UpdatedFormats() {
    std::lock_guard lock(mutex_);
    return order_;
}

bool SimClipboard::Open(WindowId owner) {
    std::lock_guard lock(mutex_);
    ++opens;
    if (open_ || heldBy != 0 || openFailures > 0) {
        if (openFailures > 0) --openFailures;
        lastError_ = 5;
        return false;
    }
    open_ = true;
    openedBy_ = owner;
    return true;
}

void SimClipboard::Close() {
    std::lock_guard lock(mutex_);
    ++closes;
    open_ = false;
}

bool SimClipboard::IsOpen() {
    std::lock_guard lock(mutex_);
    return open_;
}

std::vector<uint32_t> SimClipboard::EnumFormats() {
    std::lock_guard lock(mutex_);
    if (!open_) {
        lastError_ = kErrorClipboardNotOpen;
        return {};
    }
    return order_;
}

std::optional<ClipboardBlock> SimClipboard::GetData(uint32_t format, size_t maxBytes) {
    std::lock_guard lock(mutex_);
    if (!open_) {
        lastError_ = kErrorClipboardNotOpen;
        return std::nullopt;
    }
    auto it = formats_.find(format);
    if (it == formats_.end() || unlockable.count(format)) return std::nullopt;
    ClipboardBlock block;
    block.size = it->second.size();
    if (block.size <= maxBytes) block.bytes = it->second;
    return block;
}

std::unique_ptr<Bitmap> SimClipboard::GetBitmap() {
    std::lock_guard lock(mutex_);
    if (!open_ || !bitmap_ || failBitmapCopy) return nullptr;
    return bitmap_->Copy();
}

bool SimClipboard::Change(WindowId owner) {
    if (!open_) {
        lastError_ = kErrorClipboardNotOpen;
        return false;
    }
    owner_ = owner;
    ++sequence_;
    return true;
}

// A format set again keeps its place, as on Windows.
void SimClipboard::Place(uint32_t format) {
    if (std::find(order_.begin(), order_.end(), format) == order_.end()) order_.push_back(format);
}

bool SimClipboard::Empty() {
    std::lock_guard lock(mutex_);
    if (!Change(openedBy_)) return false;
    formats_.clear();
    order_.clear();
    bitmap_.reset();
    return true;
}

bool SimClipboard::SetData(uint32_t format, std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    if (!Change(owner_)) return false;
    formats_[format].assign(bytes.begin(), bytes.end());
    Place(format);
    return true;
}

bool SimClipboard::SetBitmap(const Bitmap& bitmap) {
    std::lock_guard lock(mutex_);
    if (!Change(owner_)) return false;
    bitmap_ = bitmap.Copy();
    Place(kCfBitmap);
    return true;
}

Text SimClipboard::AnsiToText(std::string_view bytes, uint32_t locale) {
    if ((locale & 0x3FF) != kLangRussian) return FromLatin1(bytes);
    Text text;
    for (unsigned char c : bytes) text += FromCp1251(c);
    return text;
}

void SimClipboard::Put(WindowId owner, std::map<uint32_t, std::vector<uint8_t>> formats,
                       std::shared_ptr<Bitmap> bitmap) {
    std::lock_guard lock(mutex_);
    formats_ = std::move(formats);
    bitmap_ = std::move(bitmap);
    order_.clear();
    for (const auto& entry : formats_) order_.push_back(entry.first);
    if (bitmap_) order_.push_back(kCfBitmap);
    owner_ = owner;
    ++sequence_;
}

void SimClipboard::PutText(WindowId owner, std::u16string_view text) {
    std::vector<uint8_t> bytes((text.size() + 1) * 2, 0);
    std::copy_n(reinterpret_cast<const uint8_t*>(text.data()), text.size() * 2, bytes.begin());
    Put(owner, {{kCfUnicodeText, std::move(bytes)}});
}

void SimClipboard::BumpSequence() {
    std::lock_guard lock(mutex_);
    ++sequence_;
}

std::set<uint32_t> SimClipboard::Formats() {
    std::lock_guard lock(mutex_);
    std::set<uint32_t> result;
    for (const auto& [format, bytes] : formats_) result.insert(format);
    if (bitmap_) result.insert(kCfBitmap);
    return result;
}

bool SimClipboard::AddFormatListener(WindowId window) {
    std::lock_guard lock(mutex_);
    if (!listenerExists || failAddListener) {
        lastError_ = kErrorInvalidWindow;
        return false;
    }
    return listeners_.insert(window).second;
}

bool SimClipboard::RemoveFormatListener(WindowId window) {
    std::lock_guard lock(mutex_);
    return listeners_.erase(window) != 0;
}

std::set<WindowId> SimClipboard::Listeners() {
    std::lock_guard lock(mutex_);
    return listeners_;
}

WindowId SimClipboard::Viewer() {
    std::lock_guard lock(mutex_);
    return chain_.empty() ? 0 : chain_.front();
}

WindowId SimClipboard::SetViewer(WindowId window) {
    std::lock_guard lock(mutex_);
    if (failSetViewer) {
        lastError_ = kErrorInvalidWindow;
        return 0;
    }
    lastError_ = 0;
    WindowId next = chain_.empty() ? 0 : chain_.front();
    chain_.insert(chain_.begin(), window);
    return next;
}

bool SimClipboard::ChangeChain(WindowId remove, WindowId) {
    std::lock_guard lock(mutex_);
    auto it = std::find(chain_.begin(), chain_.end(), remove);
    if (it == chain_.end()) return false;
    chain_.erase(it);
    return true;
}

std::vector<WindowId> SimClipboard::ViewerChain() {
    std::lock_guard lock(mutex_);
    return chain_;
}

uint32_t SimClipboard::LastError() {
    std::lock_guard lock(mutex_);
    return lastError_;
}

}  // namespace wlk::platform::sim
