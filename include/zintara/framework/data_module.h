// TDataModule: a root component without a window, holding non-visual components in a form.
#pragma once

#include "zintara/framework/component.h"

namespace zn {

class TDataModule : public TComponent {
public:
    explicit TDataModule(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
};

} // namespace zn
