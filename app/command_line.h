// The parsed command line: the raw text and one flag per key.
#pragma once

#include <array>

#include "platform/types.h"

namespace wlk::app {

enum class Key { Exit, Autoload, Ua, NoInstall, Help, Edit, AsAdmin, ShowMenu, Cfu, Count };

struct KeyInfo {
    const char16_t* word;
    const char16_t* help;
};

// The keys in the order the key help lists them.
const std::array<KeyInfo, size_t(Key::Count)>& CommandLineKeys();

class CommandLineOptions {
public:
    explicit CommandLineOptions(Text raw) : raw_(std::move(raw)) {}
    void Parse();

    const Text& Raw() const { return raw_; }
    bool exit() const { return exit_; }
    bool autoload() const { return autoload_; }
    bool ua() const { return ua_; }
    bool noinstall() const { return noinstall_; }
    bool help() const { return help_; }
    bool edit() const { return edit_; }
    bool asadmin() const { return asadmin_; }
    bool showmenu() const { return showmenu_; }
    bool cfu() const { return cfu_; }

private:
    bool Has(const Text& word) const;

    Text raw_;
    bool exit_ = false, autoload_ = false, ua_ = false, noinstall_ = false, help_ = false,
         edit_ = false, asadmin_ = false, showmenu_ = false, cfu_ = false;
};

// "Command Line Keys:" and one line per key, as the key help box shows them.
Text KeyHelpText();

}  // namespace wlk::app
