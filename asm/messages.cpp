#include "asm/messages.h"

#include <utility>

namespace AsmMessages {

std::string ExpectedList(TKindSet kinds) {
    static constexpr std::pair<TTokenWhat, std::string_view> Names[] = {
        {twNumber, "number"},     {twString, "string"},     {twLabel, "label"},
        {twMnemonic, "mnemonic"}, {twRegister, "register"}, {twComma, "','"},
        {twColon, "':'"},         {twLessEqual, "'<='"},    {twEqual, "'='"},
        {twLBracket, "'['"},      {twRBracket, "']'"},      {twComment, "comment"},
        {twSpace, "space"},
    };
    std::string list;
    for (const auto& [kind, name] : Names) {
        if (!kinds.Has(kind)) continue;
        list.append(name).append(", ");
        kinds.Remove(kind);
    }
    if (!kinds.Empty()) list.append("other, ");
    if (!list.empty()) list.resize(list.size() - 2);
    return list;
}

}  // namespace AsmMessages
