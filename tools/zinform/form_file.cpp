// Reading and writing whole form files, and finding their list components.
#include "form_file.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace zn::zinform {

namespace {

void CollectLists(TComponent& Component, std::vector<TznFlashList*>& Lists) {
    for (int I = 0; I < Component.ComponentCount(); ++I) {
        TComponent* Child = Component.Components(I);
        if (Child->InheritsFrom(TznFlashList::ClassInfo())) Lists.push_back(static_cast<TznFlashList*>(Child));
        CollectLists(*Child, Lists);
    }
}

} // namespace

bool FileExists(const std::wstring& FileName) {
    std::error_code Error;
    return std::filesystem::exists(std::filesystem::path(FileName), Error);
}

TFormFormat FormatOf(TStream& Form) {
    std::int64_t Start = Form.Position();
    char Signature[4] = {};
    std::size_t Got = Form.Read(Signature, sizeof Signature);
    Form.SetPosition(Start);
    return Got == 4 && std::memcmp(Signature, "TPF0", 4) == 0 ? TFormFormat::Binary : TFormFormat::Text;
}

TFormFile ReadFormFile(const std::wstring& FileName) {
    TMemoryStream Contents;
    Contents.LoadFromFile(FileName);
    TFormFile Form;
    Form.Format = FormatOf(Contents);
    try {
        Form.Root.reset(ReadComponentFromStream(Contents, nullptr));
    } catch (const Exception& Error) {
        throw EReadError(FileName + L" is not a readable form: " + Error.Message());
    }
    return Form;
}

std::vector<TznFlashList*> FlashListsOf(TComponent& Root) {
    std::vector<TznFlashList*> Lists;
    CollectLists(Root, Lists);
    return Lists;
}

std::wstring FileNamePart(const std::wstring& Path) {
    std::size_t Separator = Path.find_last_of(L"\\/:");
    return Separator == std::wstring::npos ? Path : Path.substr(Separator + 1);
}

bool EndsWithText(const std::wstring& Text, const std::wstring& Suffix) {
    return Text.size() >= Suffix.size() && SameText(std::wstring_view(Text).substr(Text.size() - Suffix.size()), Suffix);
}

} // namespace zn::zinform
