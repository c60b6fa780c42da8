// A designer for property-editor tests: counts how often an editor says the form changed.
#pragma once

#include "zintara/framework/design_editors.h"

namespace zn::test {

class TRecordingDesigner : public IDesigner {
public:
    void Modified() override { ++ModifiedCalls; }
    int ModifiedCalls = 0;
};

} // namespace zn::test
