#pragma once
// Every text the assembler reports, in one place.

#include <string>
#include <string_view>

#include "asm/asmtokens.h"

namespace AsmMessages {

inline constexpr std::string_view LineTooLong = "Line too long.";
inline constexpr std::string_view UnknownIdentifier =
    "Unknown identifier. Expected: mnemonic, nothing";
inline constexpr std::string_view ExtraCharacters = "Extra characters on line. Expected: nothing";
inline constexpr std::string_view NotAnImmediate = "Not an immediate. Expected: number, string";
inline constexpr std::string_view InvalidNumber = "Invalid number.";
inline constexpr std::string_view AddressBelow0 =
    "Cannot emit code: Address below 0. Assembly aborted.";
inline constexpr std::string_view AddressAbove255 =
    "Cannot emit code: Address above 255. Assembly aborted.";
inline constexpr std::string_view AddressInUse =
    "Cannot emit code: Address already in use. Assembly aborted.";
inline constexpr std::string_view ErrorInString = "Error in string.";
inline constexpr std::string_view StoreToImmediate = "Cannot store to immediate. Expected: '['";
inline constexpr std::string_view BadAddress = "Bad address. Expected: number, label";

// Prefixes completed by a value.
inline constexpr std::string_view SyntaxError = "Syntax error. Expected: ";
inline constexpr std::string_view UnexpectedEnd = "Unexpected end of line. Expected: ";
inline constexpr std::string_view AlreadyDefined = "Label is already defined at line ";
inline constexpr std::string_view NotDefined = "Label is not defined: ";
inline constexpr std::string_view SmallerThan = "Number smaller than ";
inline constexpr std::string_view LargerThan = "Number larger than ";
inline constexpr std::string_view UnexpectedEndOfString = "Unexpected end of string. Expected: ";

// Lists that some rules write out instead of naming a set.
inline constexpr std::string_view ListR0 = "'R0'";
inline constexpr std::string_view ListLoadOperand = "number, label, '['";
inline constexpr std::string_view ListStoreOperand = "'['";
inline constexpr std::string_view ListDbItem = "number, string";

// The names of the kinds in kinds, in the fixed order of the "Expected:" lists,
// separated by ", "; "other" stands for any member without a name of its own.
std::string ExpectedList(TKindSet kinds);

}  // namespace AsmMessages
