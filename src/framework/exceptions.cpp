// The exception base.
#include "zintara/framework/exceptions.h"

#include "zintara/framework/text.h"

namespace zn {

Exception::Exception(std::wstring Message)
    : FMessage(std::move(Message)), FNarrowMessage(WideToUtf8(FMessage))
{}

} // namespace zn
