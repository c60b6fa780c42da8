// The embedded-file editor through the designer's interface, on a real list component, with the
// system's open dialog answered from another thread.
#include "support/dialog_answerer.h"
#include "support/recording_designer.h"
#include "support/scratch_folder.h"

#include "zintara/framework/application.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/file_stream.h"
#include "zintara/zn_flashplayer.h"
#include "zintara/zn_flashreg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

using namespace zn;
using namespace zn::test;

namespace {

std::string Bytes(TMemoryStream& Stream)
{
    return std::string(static_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.Size()));
}

// The name the item was last given, which its public name hides while it holds no bytes.
std::wstring RegisteredName(const TznFlashStream* Item)
{
    return FlashList()->Strings(FlashList()->IndexOfObject(Item));
}

class FlashStreamEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        Register();
        Item = List.Flashs()->Add();
        Editor = CreatePropertyEditor(Designer, {Item}, L"FlashStore");
        ASSERT_NE(Editor, nullptr);
    }

    std::wstring WriteFile(const std::wstring& Name, const std::string& Content)
    {
        TFileStream file(Folder / Name, fmCreate);
        file.WriteBuffer(Content.data(), Content.size());
        return Folder / Name;
    }

    // Edit, with the dialog answered by Reply; the dialogs the user saw.
    std::vector<TSeenDialog> EditAnswering(TDialogReply Reply)
    {
        TDialogAnswerer answerer({std::move(Reply)});
        Editor->Edit();
        return answerer.Seen();
    }

    void LoadIntro()
    {
        const std::wstring intro = WriteFile(L"intro.swf", "FWS intro bytes");
        ASSERT_EQ(EditAnswering(ChooseFile(intro)).size(), 1u);
    }

    TApplication App{nullptr};
    TScratchFolder Folder;
    TRecordingDesigner Designer;
    TznFlashList List{nullptr};
    TznFlashStream* Item = nullptr;
    std::unique_ptr<TPropertyEditor> Editor;
};

} // namespace

TEST_F(FlashStreamEditor, AChosenFileBecomesTheItemsBytesAndName)
{
    const TPropertyEditor& created = *Editor;
    EXPECT_EQ(typeid(created), typeid(TznFlashStreamProperty));
    EXPECT_EQ(Editor->GetAttributes(), TPropertyAttributes{TPropertyAttribute::paDialog});
    EXPECT_EQ(Editor->GetValue(), L"(empty)");
    // One item at a time.
    EXPECT_EQ(CreatePropertyEditor(Designer, {Item, List.Flashs()->Add()}, L"FlashStore"), nullptr);

    const std::wstring intro = WriteFile(L"intro.swf", "FWS intro bytes");
    const auto seen = EditAnswering(ChooseFile(intro));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].FileTypes,
              (std::vector<std::wstring>{L"Flash,Video,XML and Media files", L"All Files"}));
    EXPECT_EQ(Bytes(Item->Flash()), "FWS intro bytes");
    EXPECT_EQ(Item->GetFlashStore(), L"intro.swf");
    EXPECT_EQ(Editor->GetValue(), L"intro.swf");
    EXPECT_EQ(FlashList()->IndexOf(L"INTRO.SWF"), FlashList()->IndexOfObject(Item));
    EXPECT_EQ(Designer.ModifiedCalls, 1);
    EXPECT_EQ(App.ComponentCount(), 0) << "the dialog is freed";
}

TEST_F(FlashStreamEditor, AnEmptyFileEmptiesTheItemAndKeepsItsName)
{
    LoadIntro();
    const std::wstring empty = WriteFile(L"nothing.swf", "");
    EditAnswering(ChooseFile(empty));
    EXPECT_EQ(Item->Flash().Size(), 0);
    EXPECT_EQ(Editor->GetValue(), L"(empty)");
    EXPECT_EQ(RegisteredName(Item), L"intro.swf");
    EXPECT_EQ(Designer.ModifiedCalls, 2);
}

TEST_F(FlashStreamEditor, CancellingLeavesTheItemButStillMarksTheFormChanged)
{
    LoadIntro();
    EXPECT_EQ(EditAnswering(CancelDialog()).size(), 1u);
    EXPECT_EQ(Bytes(Item->Flash()), "FWS intro bytes");
    EXPECT_EQ(Editor->GetValue(), L"intro.swf");
    EXPECT_EQ(Designer.ModifiedCalls, 2);
    EXPECT_EQ(App.ComponentCount(), 0);
}

TEST_F(FlashStreamEditor, AMissingFileRaisesToTheDesignerAndTheDialogIsStillFreed)
{
    LoadIntro();
    TDialogAnswerer answerer({ChooseFile(Folder / L"gone.swf")});
    EXPECT_THROW(Editor->Edit(), EFOpenError);
    EXPECT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(App.ComponentCount(), 0);
    EXPECT_EQ(Bytes(Item->Flash()), "FWS intro bytes");
    EXPECT_EQ(Designer.ModifiedCalls, 1);
}
