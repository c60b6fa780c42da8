// TDataModule's class information.
#include "zintara/framework/data_module.h"

#include "zintara/framework/properties.h"

namespace zn {

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {}

const TClassInfo& TDataModule::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TDataModule, TComponent>(L"TDataModule");
    return info;
}
const TClassInfo& TDataModule::ClassType() const
{
    return ClassInfo();
}

} // namespace zn
