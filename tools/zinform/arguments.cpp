// Parsing zinform's command line.
#include "arguments.h"

namespace zn::zinform {

namespace {

struct TCommandShape {
    const wchar_t* Name;
    TCommandKind Kind;
    std::size_t MinOperands;
    std::size_t MaxOperands;
};

constexpr std::size_t Unlimited = static_cast<std::size_t>(-1);

constexpr TCommandShape Shapes[] = {
    {L"add", TCommandKind::Add, 3, Unlimited}, {L"list", TCommandKind::List, 1, 1},
    {L"extract", TCommandKind::Extract, 3, 3}, {L"convert", TCommandKind::Convert, 2, 2},
    {L"help", TCommandKind::Help, 0, 0},
};

} // namespace

TCommand ParseArguments(const std::vector<std::wstring>& Arguments)
{
    TCommand command;
    std::vector<std::wstring> words;
    bool options_ended = false;
    for (const std::wstring& argument : Arguments) {
        if (options_ended || argument.size() < 2 || argument[0] != L'-')
            words.push_back(argument);
        else if (argument == L"--")
            options_ended = true;
        else if (argument == L"--text" || argument == L"--binary") {
            const bool text = argument == L"--text";
            if (command.Text && *command.Text != text)
                throw EUsageError(L"--text and --binary cannot be given together");
            command.Text = text;
        } else if (argument == L"--help" || argument == L"-h")
            return TCommand{};
        else
            throw EUsageError(L"unknown option " + argument);
    }
    if (words.empty())
        throw EUsageError(L"no command given");
    for (const TCommandShape& shape : Shapes) {
        if (words[0] != shape.Name)
            continue;
        command.Kind = shape.Kind;
        command.Operands.assign(words.begin() + 1, words.end());
        if (command.Operands.size() < shape.MinOperands ||
            command.Operands.size() > shape.MaxOperands)
            throw EUsageError(L"wrong number of operands for " + words[0]);
        return command;
    }
    throw EUsageError(L"unknown command " + words[0]);
}

const std::wstring& UsageText()
{
    static const std::wstring text =
        L"usage: zinform COMMAND [--text | --binary] OPERANDS\r\n"
        L"Manages the embedded files (TznFlashList components) of a form file.\r\n"
        L"\r\n"
        L"  zinform add FORM NAME FILE...\r\n"
        L"      Adds each FILE, named by its file name, to the list component NAME of FORM;\r\n"
        L"      an item of the same name (A-Z in any case) is replaced. Creates the list, and\r\n"
        L"      FORM with a TDataModule root, when missing. A new FORM is a binary form unless\r\n"
        L"      its name ends in .txt or --text is given; an existing FORM keeps its format\r\n"
        L"      unless --text or --binary is given.\r\n"
        L"  zinform list FORM\r\n"
        L"      One line per item: list name, item name, size in bytes, separated by tabs.\r\n"
        L"  zinform extract FORM ITEM OUT\r\n"
        L"      Writes the bytes of the first item named ITEM to the file OUT.\r\n"
        L"  zinform convert IN OUT\r\n"
        L"      Writes the form IN to OUT in the other format, or in the one --text or\r\n"
        L"      --binary names.\r\n"
        L"\r\n"
        L"Exit status: 0 on success, 1 when a file, form or item is wrong, 2 for a usage "
        L"error.\r\n";
    return text;
}

} // namespace zn::zinform
