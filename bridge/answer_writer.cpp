#include "bridge/answer_writer.h"

#include <tinyxml.h>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

std::string Utf8Of(const char16_t* text) {
    return ToUtf8(std::u16string_view(text));
}

void AddItem(TiXmlElement& parent, const AnswerItem& item);

void AddGroup(TiXmlElement& parent, const AnswerItem& group) {
    TiXmlElement element("Group");
    element.InsertEndChild(TiXmlText(Utf8Of(group.name.data())));
    element.SetAttribute("Default", static_cast<int>(group.Flags & 1));
    if (group.children->empty())
        log::EventLog::Instance().Write(u"Oops! Group is empty");
    for (const AnswerItem& child : *group.children) AddItem(element, child);
    parent.InsertEndChild(element);
}

void AddCommand(TiXmlElement& parent, const AnswerItem& command) {
    TiXmlElement element("Command");
    // A command without an identifier is a separator and carries no name.
    element.InsertEndChild(TiXmlText(command.CMDID ? Utf8Of(command.name.data()) : ""));
    element.SetAttribute("Flags", std::to_string(command.Flags));
    element.SetAttribute("CMDID", std::to_string(command.CMDID));
    element.SetAttribute("DataType", command.DataType);
    element.SetAttribute("LCID", std::to_string(command.LCID));
    if (command.toolTipText[0] != u'\0') {
        TiXmlElement tip("ToolTipText");
        tip.InsertEndChild(TiXmlText(Utf8Of(command.toolTipText.data())));
        element.InsertEndChild(tip);
    }
    parent.InsertEndChild(element);
}

void AddItem(TiXmlElement& parent, const AnswerItem& item) {
    if (item.IsGroup())
        AddGroup(parent, item);
    else
        AddCommand(parent, item);
}

}  // namespace

std::string PrintAnswer(const QueryAnswer& answer) {
    if (answer.items.empty()) return std::string();
    TiXmlElement root("LKAnswer");
    root.SetAttribute("Sound", answer.Sound ? 1 : 0);
    root.SetAttribute("ShowToolTips", answer.ShowToolTips ? 1 : 0);
    root.SetAttribute("ForegroundTopMostWnd", answer.ForegroundTopMostWnd ? 1 : 0);
    TiXmlElement top("Group");
    for (const AnswerItem& item : answer.items) AddItem(top, item);
    if (answer.MenuPerColumn != 0) {
        TiXmlElement perColumn("MenuPerColumn");
        perColumn.InsertEndChild(TiXmlText(std::to_string(answer.MenuPerColumn)));
        top.InsertEndChild(perColumn);
    }
    root.InsertEndChild(top);

    TiXmlDocument document;
    document.InsertEndChild(TiXmlDeclaration("1.0", "", ""));
    document.InsertEndChild(root);
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    document.Accept(&printer);
    return printer.Str();
}

bool StoreAnswer(const std::string& text, const Text& areaName) {
    if (text.empty()) return false;
    // The area exists already, so this opens it at its own size; a text that
    // does not fit there is refused.
    auto area = platform::Current().shared.Create(areaName, text.size() + 1,
                                                  platform::Security::Everyone);
    return area && area->WriteText(text);
}

bool WriteAnswer(const QueryAnswer& answer, const Text& areaName) {
    return StoreAnswer(PrintAnswer(answer), areaName);
}

}  // namespace wlk::bridge
