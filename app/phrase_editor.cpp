#include "app/phrase_editor.h"

namespace wlk::app {

Text PhraseEditorParameters(bool addFromClipboard, bool firstRun, bool addSelectedText) {
    Text parameters;
    if (addFromClipboard) parameters += u" /addfromcb";
    if (firstRun) parameters += u" /firstrun";
    if (addSelectedText) parameters += u" /addseltext";
    return parameters;
}

}  // namespace wlk::app
