// Reading and writing whole form files, and finding their list components.
#include "form_file.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/text.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace zn::zinform {

namespace {

void CollectLists(TComponent& Component, std::vector<TznFlashList*>& Lists)
{
    for (int i = 0; i < Component.ComponentCount(); ++i) {
        TComponent* child = Component.Components(i);
        if (child->InheritsFrom(TznFlashList::ClassInfo()))
            Lists.push_back(static_cast<TznFlashList*>(child));
        CollectLists(*child, Lists);
    }
}

} // namespace

bool FileExists(const std::wstring& FileName)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(FileName), error);
}

TFormFormat FormatOf(TStream& Form)
{
    std::int64_t start = Form.Position();
    char signature[4] = {};
    std::size_t got = Form.Read(signature, sizeof signature);
    Form.SetPosition(start);
    return got == 4 && std::memcmp(signature, "TPF0", 4) == 0 ? TFormFormat::Binary
                                                              : TFormFormat::Text;
}

TFormFile ReadFormFile(const std::wstring& FileName)
{
    TMemoryStream contents;
    contents.LoadFromFile(FileName);
    TFormFile form;
    form.Format = FormatOf(contents);
    try {
        form.Root.reset(ReadComponentFromStream(contents, nullptr));
    } catch (const Exception& error) {
        throw EReadError(FileName + L" is not a readable form: " + error.Message());
    }
    return form;
}

std::vector<TznFlashList*> FlashListsOf(TComponent& Root)
{
    std::vector<TznFlashList*> lists;
    CollectLists(Root, lists);
    return lists;
}

std::wstring FileNamePart(const std::wstring& Path)
{
    std::size_t separator = Path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? Path : Path.substr(separator + 1);
}

bool EndsWithText(const std::wstring& Text, const std::wstring& Suffix)
{
    return Text.size() >= Suffix.size() &&
           SameText(std::wstring_view(Text).substr(Text.size() - Suffix.size()), Suffix);
}

} // namespace zn::zinform
