// The commands: add files to a list, list the items, extract one, convert a form's format.
#include "commands.h"

#include "form_file.h"

#include "zintara/framework/data_module.h"
#include "zintara/framework/form_text.h"
#include "zintara/framework/text.h"

namespace zn::zinform {

namespace {

constexpr const wchar_t* LineEnd = L"\r\n";

TFormFormat TextOrBinary(bool Text) { return Text ? TFormFormat::Text : TFormFormat::Binary; }

// A new form's root is named after the file when its name can be an identifier.
std::wstring RootNameFor(const std::wstring& FormName) {
    std::wstring Name = FileNamePart(FormName);
    Name = Name.substr(0, Name.find(L'.'));
    return IsValidIdent(Name) ? Name : L"DataModule1";
}

TFormFile ReadOrCreateForm(const std::wstring& FormName) {
    if (FileExists(FormName)) return ReadFormFile(FormName);
    TFormFile Form;
    Form.Root = std::make_unique<TDataModule>(nullptr);
    Form.Root->SetName(RootNameFor(FormName));
    Form.Format = TextOrBinary(EndsWithText(FormName, L".txt"));
    return Form;
}

TznFlashList& FindOrCreateList(TComponent& Root, const std::wstring& ListName) {
    if (!IsValidIdent(ListName)) throw EComponentError(L"\"" + ListName + L"\" is not a valid component name");
    // The root's own name is not among the components it owns, but a list of that name would
    // make a form that names one thing twice.
    if (SameText(ListName, Root.Name()))
        throw EComponentError(ListName + L" is the form's " + Root.ClassName() + L", not a TznFlashList");
    TComponent* Found = Root.FindComponent(ListName);
    if (!Found) {
        auto* List = new TznFlashList(&Root);
        List->SetName(ListName);
        return *List;
    }
    if (!Found->InheritsFrom(TznFlashList::ClassInfo()))
        throw EComponentError(ListName + L" is a " + Found->ClassName() + L", not a TznFlashList");
    return static_cast<TznFlashList&>(*Found);
}

void AddFiles(const TCommand& Command, std::wstring& Out) {
    const std::wstring& FormName = Command.Operands[0];
    TFormFile Form = ReadOrCreateForm(FormName);
    if (Command.Text) Form.Format = TextOrBinary(*Command.Text);
    TznFlashList& List = FindOrCreateList(*Form.Root, Command.Operands[1]);
    for (std::size_t I = 2; I < Command.Operands.size(); ++I) {
        const std::wstring& Path = Command.Operands[I];
        std::wstring Name = FileNamePart(Path);
        TMemoryStream Bytes;
        Bytes.LoadFromFile(Path);
        // Stored without bytes, an item is stored as "(empty)" and its name is lost.
        if (Bytes.Size() == 0) throw EReadError(Path + L" is empty; an embedded file needs at least one byte");
        TznFlashStream* Item = List.FindFlash(Name);
        bool Replaced = Item != nullptr;
        if (!Replaced) Item = List.Flashs()->Add();
        Item->Flash().LoadFromStream(Bytes);
        Item->SetFlashStore(Name);
        Out += List.Name() + (Replaced ? L": replaced " : L": added ") + Name + L", " +
               std::to_wstring(Bytes.Size()) + L" bytes" + LineEnd;
    }
    WriteComponentToFile(FormName, *Form.Root, Form.Format);
}

void ListItems(const TCommand& Command, std::wstring& Out) {
    TFormFile Form = ReadFormFile(Command.Operands[0]);
    for (TznFlashList* List : FlashListsOf(*Form.Root))
        for (int I = 0; I < List->Flashs()->Count(); ++I) {
            TznFlashStream* Item = List->Flashs()->GetItem(I);
            Out += List->Name() + L"\t" + Item->GetFlashStore() + L"\t" + std::to_wstring(Item->Flash().Size()) + LineEnd;
        }
}

void ExtractItem(const TCommand& Command, std::wstring& Out) {
    const std::wstring& FormName = Command.Operands[0];
    const std::wstring& ItemName = Command.Operands[1];
    TFormFile Form = ReadFormFile(FormName);
    for (TznFlashList* List : FlashListsOf(*Form.Root))
        if (TznFlashStream* Item = List->FindFlash(ItemName)) {
            Item->Flash().SaveToFile(Command.Operands[2]);
            Out += L"wrote " + std::to_wstring(Item->Flash().Size()) + L" bytes to " + Command.Operands[2] + LineEnd;
            return;
        }
    throw EListError(L"no embedded file named " + ItemName + L" in " + FormName);
}

TFormFormat Other(TFormFormat Format) { return TextOrBinary(Format == TFormFormat::Binary); }

void ConvertFrom(TFormFormat Format, TStream& Input, TStream& Output) {
    if (Format == TFormFormat::Binary) ObjectBinaryToText(Input, Output);
    else ObjectTextToBinary(Input, Output);
}

// A form converted to its own format goes through the other one, so that the output is
// always checked and normalised.
void ConvertForm(const TCommand& Command, std::wstring& Out) {
    const std::wstring& InName = Command.Operands[0];
    TMemoryStream Input;
    Input.LoadFromFile(InName);
    TFormFormat From = FormatOf(Input);
    TFormFormat To = Command.Text ? TextOrBinary(*Command.Text) : Other(From);
    TMemoryStream Output;
    try {
        if (To != From) ConvertFrom(From, Input, Output);
        else {
            TMemoryStream Middle;
            ConvertFrom(From, Input, Middle);
            Middle.SetPosition(0);
            ConvertFrom(Other(From), Middle, Output);
        }
    } catch (const Exception& Error) {
        throw EReadError(InName + L" is not a readable form: " + Error.Message());
    }
    Output.SaveToFile(Command.Operands[1]);
    Out += L"wrote " + std::wstring(To == TFormFormat::Text ? L"text" : L"binary") + L" form " + Command.Operands[1] + LineEnd;
}

} // namespace

void RunCommand(const TCommand& Command, std::wstring& Out) {
    switch (Command.Kind) {
    case TCommandKind::Add: AddFiles(Command, Out); break;
    case TCommandKind::List: ListItems(Command, Out); break;
    case TCommandKind::Extract: ExtractItem(Command, Out); break;
    case TCommandKind::Convert: ConvertForm(Command, Out); break;
    case TCommandKind::Help: Out += UsageText(); break;
    }
}

} // namespace zn::zinform
