// One rule per mnemonic. The order of the steps fixes which bytes are placed and which
// messages appear when a line is wrong, so each rule follows its grammar token by token:
// "require" abandons the line when the token is wrong, "allow" reports and goes on.
#include "asm/asmparse.h"
#include "asm/messages.h"
#include "core/instruction.h"

namespace {

// Emission failure means the image is full or overlapping: the assembly stops.
constexpr int StopColumn = 0;

}  // namespace

TAsmParser::TRuleEnd TAsmParser::RunRule(int code) {
    switch (code) {
        case kwMove:
            return MoveRule();
        case kwAddi:
        case kwAddf:
        case kwOr:
        case kwAnd:
        case kwXor:
            return ArithmeticRule(code);
        case kwRor:
            return RotateRule();
        case kwHalt:
            return HaltRule();
        case kwJmp:
            return JumpRule();
        case kwJmpEQ:
        case kwJmpLE:
            return CompareJumpRule(code);
        case kwLoad:
            return LoadStoreRule(true);
        case kwStore:
            return LoadStoreRule(false);
        case kwOrg:
            return OrgRule();
        default:
            return DbRule();
    }
}

// Places value at the location counter, which moves on. False when the assembly stops.
bool TAsmParser::EmitNext(int value) {
    if (Emit(locationCounter_, value)) {
        ClaimNext();
        return true;
    }
    Report(StopColumn, lastError_);
    return false;
}

// Gives the byte at the location counter (placed now or by a later fix-up) to the current
// line, and moves on.
void TAsmParser::ClaimNext() {
    lineOf_[static_cast<std::size_t>(locationCounter_)] = lineIndex_;
    placedAs_[static_cast<std::size_t>(locationCounter_)] = placing_;
    ++locationCounter_;
}

// Places a number operand when it lies in min..max; otherwise reports it and leaves the
// byte out. False only when the emission fails and the assembly stops.
bool TAsmParser::NumberByte(const Token& number, int min, int max) {
    if (CheckRange(number, min, max)) return EmitNext(number.Value);
    Report(number.EndCol, lastError_);
    return true;
}

// The byte of a number or label operand: the number when it lies in min..max, or the
// label's value, now or when the label gets defined. False when the assembly stops.
bool TAsmParser::OperandByte(const Token& operand, int min, int max) {
    TAsmInstruction& instruction = instructions_.back();
    instruction.OperandColumn = operand.StartCol;
    if (operand.Kind == twNumber) return NumberByte(operand, min, max);
    if (ReferenceLabel(operand, locationCounter_)) {
        instruction.Label =
            static_cast<int>(labels_.Find(TokenText(operand)) - labels_.Entries().data());
        ClaimNext();
        return true;
    }
    Report(StopColumn, lastError_);
    return false;
}

TAsmParser::TRuleEnd TAsmParser::MoveRule() {
    if (!EmitNext(FirstByte(TOpcode::Move))) return TRuleEnd::Stopped;
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    const int rd = Current()->Value;
    Advance();
    Allow({twComma});
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    if (!EmitNext(Current()->Value * 16 + rd)) return TRuleEnd::Stopped;
    Advance();
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::ArithmeticRule(int code) {
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    if (!EmitNext(FirstByte(static_cast<TOpcode>(code), Current()->Value)))
        return TRuleEnd::Stopped;
    Advance();
    Allow({twComma});
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    const int s = Current()->Value;
    Advance();
    Allow({twComma});
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    if (!EmitNext(s * 16 + Current()->Value)) return TRuleEnd::Stopped;
    Advance();
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::RotateRule() {
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    if (!EmitNext(FirstByte(TOpcode::Rotate, Current()->Value))) return TRuleEnd::Stopped;
    Advance();
    Allow({twComma});
    if (!Expect({twNumber})) return TRuleEnd::Abandoned;
    if (!NumberByte(*Current(), 0, 15)) return TRuleEnd::Stopped;
    Advance();
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::HaltRule() {
    if (!EmitNext(FirstByte(TOpcode::Halt)) || !EmitNext(0x00)) return TRuleEnd::Stopped;
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::JumpRule() {
    if (!EmitNext(FirstByte(TOpcode::JumpEqual))) return TRuleEnd::Stopped;
    return TargetSteps();
}

TAsmParser::TRuleEnd TAsmParser::CompareJumpRule(int code) {
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    if (!EmitNext(FirstByte(static_cast<TOpcode>(code), Current()->Value)))
        return TRuleEnd::Stopped;
    Advance();
    const TTokenWhat relation = code == kwJmpEQ ? twEqual : twLessEqual;
    if (Expect({relation}))
        Advance();
    else if (!AtEnd() && (Current()->Kind == twLess || Current()->Kind == twRegister))
        Advance();
    if (AtEnd()) {
        Report(static_cast<int>(line_.size()),
               std::string(AsmMessages::UnexpectedEnd).append(AsmMessages::ListR0));
        return TRuleEnd::Abandoned;
    }
    if (Current()->Kind != twRegister || Current()->Value != 0) {
        Report(Current()->StartCol,
               std::string(AsmMessages::SyntaxError).append(AsmMessages::ListR0));
        return TRuleEnd::Abandoned;
    }
    Advance();
    Allow({twComma});
    return TargetSteps();
}

// The address operand of a jump: a number 0..255 or a label.
TAsmParser::TRuleEnd TAsmParser::TargetSteps() {
    if (!ExpectOr({twNumber, twLabel}, AsmMessages::BadAddress)) return TRuleEnd::Abandoned;
    if (!OperandByte(*Current(), 0, 255)) return TRuleEnd::Stopped;
    Advance();
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::LoadStoreRule(bool load) {
    if (!Expect({twRegister})) return TRuleEnd::Abandoned;
    const int r = Current()->Value;
    Advance();
    Allow({twComma});
    if (AtEnd()) {
        Report(static_cast<int>(line_.size()),
               std::string(AsmMessages::UnexpectedEnd)
                   .append(load ? AsmMessages::ListLoadOperand : AsmMessages::ListStoreOperand));
        return TRuleEnd::Abandoned;
    }
    if (Current()->Kind == twNumber || Current()->Kind == twLabel) {
        if (!load) {
            Report(Current()->StartCol, AsmMessages::StoreToImmediate);
            return TRuleEnd::Abandoned;
        }
        return ImmediateOperand(r);
    }
    return MemoryOperand(load, r);
}

// "load r,v": v is a number -128..255 or a label.
TAsmParser::TRuleEnd TAsmParser::ImmediateOperand(int r) {
    if (!EmitNext(FirstByte(TOpcode::LoadImmediate, r)) || !OperandByte(*Current(), -128, 255))
        return TRuleEnd::Stopped;
    Advance();
    return TRuleEnd::Completed;
}

// "[a]" with a number or label a, or "[rs]".
TAsmParser::TRuleEnd TAsmParser::MemoryOperand(bool load, int r) {
    Allow({twLBracket});
    if (!Expect({twNumber, twLabel, twRegister})) return TRuleEnd::Abandoned;
    const Token operand = *Current();
    if (operand.Kind == twRegister) {
        if (!EmitNext(FirstByte(load ? TOpcode::LoadIndirect : TOpcode::StoreIndirect)))
            return TRuleEnd::Stopped;
        if (!EmitNext(r * 16 + operand.Value)) return TRuleEnd::Stopped;
    } else if (!EmitNext(FirstByte(load ? TOpcode::LoadDirect : TOpcode::StoreDirect, r)) ||
               !OperandByte(operand, 0, 255)) {
        return TRuleEnd::Stopped;
    }
    Advance();
    Allow({twRBracket});
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::OrgRule() {
    if (!Expect({twNumber})) return TRuleEnd::Abandoned;
    if (CheckRange(*Current(), 0, 255))
        locationCounter_ = Current()->Value;
    else
        Report(Current()->EndCol, lastError_);
    Advance();
    return TRuleEnd::Completed;
}

TAsmParser::TRuleEnd TAsmParser::DbRule() {
    if (AtEnd()) {
        Report(static_cast<int>(line_.size()),
               std::string(AsmMessages::UnexpectedEnd).append(AsmMessages::ListDbItem));
        return TRuleEnd::Abandoned;
    }
    for (;;) {
        if (DbItem() == TRuleEnd::Stopped) return TRuleEnd::Stopped;
        if (!AtEnd() && Current()->Kind != twComma) Advance();
        if (AtCommentOrEnd()) return TRuleEnd::Completed;
        Allow({twComma});
        if (AtEnd()) {
            Report(static_cast<int>(line_.size()),
                   std::string(AsmMessages::UnexpectedEnd).append(AsmMessages::ListDbItem));
            return TRuleEnd::Completed;
        }
    }
}

// One "db" item: a number, or the characters of a string.
TAsmParser::TRuleEnd TAsmParser::DbItem() {
    if (!ExpectOr({twNumber, twString}, AsmMessages::NotAnImmediate)) return TRuleEnd::Completed;
    const Token item = *Current();
    if (item.Kind == twNumber)
        return NumberByte(item, -128, 255) ? TRuleEnd::Completed : TRuleEnd::Stopped;
    if (item.Value == 1) {
        for (int col = item.StartCol + 1; col < item.EndCol - 1; ++col)
            if (!EmitNext(static_cast<unsigned char>(line_[col]))) return TRuleEnd::Stopped;
    } else if (item.EndCol - item.StartCol == 1) {
        Report(item.StartCol, AsmMessages::ErrorInString);
    } else {
        Report(item.EndCol,
               std::string(AsmMessages::UnexpectedEndOfString).append(1, line_[item.StartCol]));
    }
    return TRuleEnd::Completed;
}
