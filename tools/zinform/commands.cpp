// The commands: add files to a list, list the items, extract one, convert a form's format.
#include "commands.h"

#include "form_file.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/form_text.h"
#include "zintara/framework/text.h"

namespace zn::zinform {

namespace {

constexpr const wchar_t* LineEnd = L"\r\n";

TFormFormat TextOrBinary(bool Text)
{
    return Text ? TFormFormat::Text : TFormFormat::Binary;
}

// A new form's root is named after the file when its name can be an identifier.
std::wstring RootNameFor(const std::wstring& FormName)
{
    std::wstring name = FileNamePart(FormName);
    name = name.substr(0, name.find(L'.'));
    return IsValidIdent(name) ? name : L"DataModule1";
}

TFormFile ReadOrCreateForm(const std::wstring& FormName)
{
    if (FileExists(FormName))
        return ReadFormFile(FormName);
    TFormFile form;
    form.Root = std::make_unique<TDataModule>(nullptr);
    form.Root->SetName(RootNameFor(FormName));
    form.Format = TextOrBinary(EndsWithText(FormName, L".txt"));
    return form;
}

TznFlashList& FindOrCreateList(TComponent& Root, const std::wstring& ListName)
{
    if (!IsValidIdent(ListName))
        throw EComponentError(L"\"" + ListName + L"\" is not a valid component name");
    // The root's own name is not among the components it owns, but a list of that name would
    // make a form that names one thing twice.
    if (SameText(ListName, Root.Name()))
        throw EComponentError(ListName + L" is the form's " + Root.ClassName() +
                              L", not a TznFlashList");
    TComponent* found = Root.FindComponent(ListName);
    if (!found) {
        auto* list = new TznFlashList(&Root);
        list->SetName(ListName);
        return *list;
    }
    if (!found->InheritsFrom(TznFlashList::ClassInfo()))
        throw EComponentError(ListName + L" is a " + found->ClassName() + L", not a TznFlashList");
    return static_cast<TznFlashList&>(*found);
}

void AddFiles(const TCommand& Command, std::wstring& Out)
{
    const std::wstring& form_name = Command.Operands[0];
    TFormFile form = ReadOrCreateForm(form_name);
    if (Command.Text)
        form.Format = TextOrBinary(*Command.Text);
    TznFlashList& list = FindOrCreateList(*form.Root, Command.Operands[1]);
    for (std::size_t i = 2; i < Command.Operands.size(); ++i) {
        const std::wstring& path = Command.Operands[i];
        std::wstring name = FileNamePart(path);
        TMemoryStream bytes;
        bytes.LoadFromFile(path);
        // Stored without bytes, an item is stored as "(empty)" and its name is lost.
        if (bytes.Size() == 0)
            throw EReadError(path + L" is empty; an embedded file needs at least one byte");
        TznFlashStream* item = list.FindFlash(name);
        bool replaced = item != nullptr;
        if (!replaced)
            item = list.Flashs()->Add();
        item->Flash().LoadFromStream(bytes);
        item->SetFlashStore(name);
        Out += list.Name() + (replaced ? L": replaced " : L": added ") + name + L", " +
               std::to_wstring(bytes.Size()) + L" bytes" + LineEnd;
    }
    WriteComponentToFile(form_name, *form.Root, form.Format);
}

void ListItems(const TCommand& Command, std::wstring& Out)
{
    TFormFile form = ReadFormFile(Command.Operands[0]);
    for (TznFlashList* list : FlashListsOf(*form.Root))
        for (int i = 0; i < list->Flashs()->Count(); ++i) {
            TznFlashStream* item = list->Flashs()->GetItem(i);
            Out += list->Name() + L"\t" + item->GetFlashStore() + L"\t" +
                   std::to_wstring(item->Flash().Size()) + LineEnd;
        }
}

void ExtractItem(const TCommand& Command, std::wstring& Out)
{
    const std::wstring& form_name = Command.Operands[0];
    const std::wstring& item_name = Command.Operands[1];
    TFormFile form = ReadFormFile(form_name);
    for (TznFlashList* list : FlashListsOf(*form.Root))
        if (TznFlashStream* item = list->FindFlash(item_name)) {
            item->Flash().SaveToFile(Command.Operands[2]);
            Out += L"wrote " + std::to_wstring(item->Flash().Size()) + L" bytes to " +
                   Command.Operands[2] + LineEnd;
            return;
        }
    throw EListError(L"no embedded file named " + item_name + L" in " + form_name);
}

TFormFormat Other(TFormFormat Format)
{
    return TextOrBinary(Format == TFormFormat::Binary);
}

void ConvertFrom(TFormFormat Format, TStream& Input, TStream& Output)
{
    if (Format == TFormFormat::Binary)
        ObjectBinaryToText(Input, Output);
    else
        ObjectTextToBinary(Input, Output);
}

// A form converted to its own format goes through the other one, so that the output is
// always checked and normalised.
void ConvertForm(const TCommand& Command, std::wstring& Out)
{
    const std::wstring& in_name = Command.Operands[0];
    TMemoryStream input;
    input.LoadFromFile(in_name);
    TFormFormat from = FormatOf(input);
    TFormFormat to = Command.Text ? TextOrBinary(*Command.Text) : Other(from);
    TMemoryStream output;
    try {
        if (to != from)
            ConvertFrom(from, input, output);
        else {
            TMemoryStream middle;
            ConvertFrom(from, input, middle);
            middle.SetPosition(0);
            ConvertFrom(Other(from), middle, output);
        }
    } catch (const Exception& error) {
        throw EReadError(in_name + L" is not a readable form: " + error.Message());
    }
    output.SaveToFile(Command.Operands[1]);
    Out += L"wrote " + std::wstring(to == TFormFormat::Text ? L"text" : L"binary") + L" form " +
           Command.Operands[1] + LineEnd;
}

} // namespace

void RunCommand(const TCommand& Command, std::wstring& Out)
{
    switch (Command.Kind) {
    case TCommandKind::Add: AddFiles(Command, Out); break;
    case TCommandKind::List: ListItems(Command, Out); break;
    case TCommandKind::Extract: ExtractItem(Command, Out); break;
    case TCommandKind::Convert: ConvertForm(Command, Out); break;
    case TCommandKind::Help: Out += UsageText(); break;
    }
}

} // namespace zn::zinform
