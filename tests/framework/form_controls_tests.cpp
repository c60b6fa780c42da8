// Controls in forms: children are stored inside their parent and get it back on reading.
#include "test_components.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/controls.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::testing;

TEST(FormControls, ChildControlsAreStoredInTheirParentAndReadBackIntoIt) {
    RegisterTestClasses();
    RegisterClasses({&TWinControl::ClassInfo(), &TGraphicControl::ClassInfo()});
    TWinControl Form(nullptr);
    Form.SetName(L"Form");
    Form.SetBounds(0, 0, 300, 200);
    auto* Panel = new TWinControl(&Form);
    Panel->SetName(L"Panel");
    Panel->SetParent(&Form);
    Panel->SetBounds(10, 10, 100, 80);
    auto* Picture = new TGraphicControl(&Form);
    Picture->SetName(L"Picture");
    Picture->SetParent(Panel);
    Picture->SetBounds(5, 6, 7, 8);
    auto* Data = new TTestComponent(&Form);
    Data->SetName(L"Data");
    Data->SetCount(3);

    TMemoryStream Stream;
    WriteComponentToStream(Stream, Form, TFormFormat::Text);
    Stream.SetPosition(0);
    std::unique_ptr<TComponent> Copy(ReadComponentFromStream(Stream, nullptr));
    auto* Root = dynamic_cast<TWinControl*>(Copy.get());
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Width(), 300);
    ASSERT_EQ(Root->ComponentCount(), 3);
    auto* PanelCopy = dynamic_cast<TWinControl*>(Root->FindComponent(L"Panel"));
    auto* PictureCopy = dynamic_cast<TGraphicControl*>(Root->FindComponent(L"Picture"));
    ASSERT_NE(PanelCopy, nullptr);
    ASSERT_NE(PictureCopy, nullptr);
    EXPECT_EQ(PanelCopy->Parent(), Root);
    EXPECT_EQ(PictureCopy->Parent(), PanelCopy);
    EXPECT_EQ(PictureCopy->BoundsRect(), Bounds(5, 6, 7, 8));
    EXPECT_EQ(PictureCopy->Owner(), Root);
    EXPECT_EQ(static_cast<TTestComponent*>(Root->FindComponent(L"Data"))->Count(), 3);
    EXPECT_FALSE(Root->HandleAllocated()) << "reading a form must not create windows";
}
