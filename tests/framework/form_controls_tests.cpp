// Controls in forms: children are stored inside their parent and get it back on reading.
#include "test_components.h"

#include "zintara/framework/class_registry.h"
#include "zintara/framework/controls.h"
#include "zintara/framework/form_io.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zn;
using namespace zn::test;

TEST(FormControls, ChildControlsAreStoredInTheirParentAndReadBackIntoIt)
{
    RegisterTestClasses();
    RegisterClasses({&TWinControl::ClassInfo(), &TGraphicControl::ClassInfo()});
    TWinControl form(nullptr);
    form.SetName(L"Form");
    form.SetBounds(0, 0, 300, 200);
    auto* panel = new TWinControl(&form);
    panel->SetName(L"Panel");
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 100, 80);
    auto* picture = new TGraphicControl(&form);
    picture->SetName(L"Picture");
    picture->SetParent(panel);
    picture->SetBounds(5, 6, 7, 8);
    auto* data = new TTestComponent(&form);
    data->SetName(L"Data");
    data->SetCount(3);

    TMemoryStream stream;
    WriteComponentToStream(stream, form, TFormFormat::Text);
    stream.SetPosition(0);
    std::unique_ptr<TComponent> copy(ReadComponentFromStream(stream, nullptr));
    auto* root = dynamic_cast<TWinControl*>(copy.get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Width(), 300);
    ASSERT_EQ(root->ComponentCount(), 3);
    auto* panel_copy = dynamic_cast<TWinControl*>(root->FindComponent(L"Panel"));
    auto* picture_copy = dynamic_cast<TGraphicControl*>(root->FindComponent(L"Picture"));
    ASSERT_NE(panel_copy, nullptr);
    ASSERT_NE(picture_copy, nullptr);
    EXPECT_EQ(panel_copy->Parent(), root);
    EXPECT_EQ(picture_copy->Parent(), panel_copy);
    EXPECT_EQ(picture_copy->BoundsRect(), Bounds(5, 6, 7, 8));
    EXPECT_EQ(picture_copy->Owner(), root);
    EXPECT_EQ(static_cast<TTestComponent*>(root->FindComponent(L"Data"))->Count(), 3);
    EXPECT_FALSE(root->HandleAllocated()) << "reading a form must not create windows";
}
