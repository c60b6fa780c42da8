// Register read back from the framework's registries: the palette page in order, and which
// editor each property of the components gets.
#include "zintara/framework/class_registry.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"
#include "zintara/zn_layer.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zn;

namespace {

TPropertyEditorClass EditorOf(const TClassInfo& Class, const wchar_t* Property)
{
    const TPropertyInfo* info = Class.FindProperty(Property);
    EXPECT_NE(info, nullptr) << Property;
    return info ? GetEditorClass(Class, *info) : nullptr;
}

// An item class of an application's own: the editor reaches descendants too.
class TMyFlashStream : public TznFlashStream {
public:
    using TznFlashStream::TznFlashStream;
    static const TClassInfo& ClassInfo()
    {
        static const TClassInfo info =
            DeclareClass<TMyFlashStream, TznFlashStream>(L"TMyFlashStream");
        return info;
    }
    const TClassInfo& ClassType() const override { return ClassInfo(); }
};

} // namespace

TEST(Register, PutsTheFiveComponentsOnOnePageInOrder)
{
    Register();
    Register(); // a designer that loads the package again changes nothing

    const auto& pages = PalettePages();
    auto page = std::find_if(pages.begin(), pages.end(),
                             [](const TPalettePage& Each) { return Each.Name == L"Zintara"; });
    ASSERT_NE(page, pages.end());
    EXPECT_EQ(page->Classes, (std::vector<const TClassInfo*>{
                                 &TznFlashList::ClassInfo(), &TznFlashPlayer::ClassInfo(),
                                 &TznFlashPlayerWnd::ClassInfo(), &TznFlashPlayerComp::ClassInfo(),
                                 &TznFlashLayer::ClassInfo()}));
    // What the designer drops on a form can be read back from the form file.
    EXPECT_EQ(GetClass(L"TznFlashLayer"), &TznFlashLayer::ClassInfo());
    EXPECT_EQ(GetClass(L"TznFlashList"), &TznFlashList::ClassInfo());
}

TEST(Register, InstallsTheEditorsForTheirPropertiesOnly)
{
    Register();
    EXPECT_EQ(EditorOf(TznFlashStream::ClassInfo(), L"FlashStore"),
              &EditorClass<TznFlashStreamProperty>);
    EXPECT_EQ(EditorOf(TMyFlashStream::ClassInfo(), L"FlashStore"),
              &EditorClass<TznFlashStreamProperty>);
    for (const TClassInfo* player : {&TznFlashPlayer::ClassInfo(), &TznFlashPlayerWnd::ClassInfo(),
                                     &TznFlashPlayerComp::ClassInfo()}) {
        EXPECT_EQ(EditorOf(*player, L"Skin"), &EditorClass<TznSkinProperty>) << player->Name;
        EXPECT_EQ(EditorOf(*player, L"Movie"), &EditorClass<TStringProperty>) << player->Name;
    }
    // The layer is no windowed player: its Skin keeps the plain string editor.
    EXPECT_EQ(EditorOf(TznFlashLayer::ClassInfo(), L"Skin"), &EditorClass<TStringProperty>);
}
