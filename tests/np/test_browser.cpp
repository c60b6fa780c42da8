// The test browser's entries.
#include "test_browser.h"

#include <cstdlib>
#include <cstring>

using namespace zn::np;

namespace zn::test {

namespace {

TestBrowser* current = nullptr;

NPClass windowClass{};

char* CopyText(const std::string& text)
{
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void* MemAlloc(std::uint32_t size)
{
    return std::calloc(1, size ? size : 1);
}
void MemFree(void* block)
{
    std::free(block);
}

NPError GetUrlNotify(NPP instance, const char* url, const char* target, void* notifyData)
{
    UrlRequestSeen seen{instance, url ? url : "", target == nullptr, notifyData};
    current->requests.push_back(seen);
    if (current->onRequest)
        current->onRequest(seen);
    return NPERR_NO_ERROR;
}

NPError GetValue(NPP, NPNVariable variable, void* value)
{
    switch (variable) {
    case NPNVWindowNPObject:
        ++current->windowObjectRequests;
        ++current->windowObject.referenceCount;
        *static_cast<NPObject**>(value) = &current->windowObject;
        return NPERR_NO_ERROR;
    case NPNVSupportsWindowless:
        *static_cast<NPBool*>(value) = current->supportsWindowless;
        return NPERR_NO_ERROR;
    default: return NPERR_GENERIC_ERROR;
    }
}

NPError SetValue(NPP, NPPVariable variable, void*)
{
    current->valuesSet.push_back(variable);
    return NPERR_NO_ERROR;
}

void InvalidateRect(NPP instance, NPRect* rect)
{
    InvalidatedRect seen{instance, rect ? *rect : NPRect{}};
    current->invalidated.push_back(seen);
    if (current->onInvalidate)
        current->onInvalidate(seen);
}

NPIdentifier GetStringIdentifier(const char* name)
{
    return const_cast<char*>(current->identifiers.insert(name).first->c_str());
}

bool IdentifierIsString(NPIdentifier)
{
    return true;
}

char* Utf8FromIdentifier(NPIdentifier identifier)
{
    return CopyText(static_cast<const char*>(identifier));
}

NPObject* CreateObject(NPP instance, NPClass* objectClass)
{
    NPObject* object = objectClass->allocate
                           ? objectClass->allocate(instance, objectClass)
                           : static_cast<NPObject*>(std::calloc(1, sizeof(NPObject)));
    object->_class = objectClass;
    object->referenceCount = 1;
    return object;
}

NPObject* RetainObject(NPObject* object)
{
    if (object)
        ++object->referenceCount;
    return object;
}

void ReleaseObject(NPObject* object)
{
    if (!object || --object->referenceCount != 0 || object == &current->windowObject)
        return;
    if (object->_class->deallocate)
        object->_class->deallocate(object);
    else
        std::free(object);
}

bool Invoke(NPP instance, NPObject* object, NPIdentifier method, const NPVariant* args,
            std::uint32_t count, NPVariant* result)
{
    InvokeSeen seen{instance, object, static_cast<const char*>(method), {}};
    for (std::uint32_t i = 0; i < count; ++i)
        seen.stringArgs.push_back(VariantString(args[i]));
    current->invokes.push_back(seen);
    result->type = NPVariantType_Void;
    if (current->onInvoke)
        current->onInvoke(seen);
    return true;
}

bool Evaluate(NPP instance, NPObject* object, NPString* script, NPVariant* result)
{
    current->evaluations.push_back(
        {instance, object, std::string(script->UTF8Characters, script->UTF8Length)});
    if (!current->evaluateAnswer)
        return false;
    result->type = NPVariantType_String;
    result->value.stringValue = {CopyText(*current->evaluateAnswer),
                                 static_cast<std::uint32_t>(current->evaluateAnswer->size())};
    return true;
}

void ReleaseVariantValue(NPVariant* value)
{
    if (value->type == NPVariantType_String)
        std::free(const_cast<char*>(value->value.stringValue.UTF8Characters));
    if (value->type == NPVariantType_Object)
        ReleaseObject(value->value.objectValue);
    value->type = NPVariantType_Void;
}

} // namespace

TestBrowser::TestBrowser()
{
    current = this;
    windowClass.structVersion = NP_CLASS_STRUCT_VERSION_ENUM;
    windowObject._class = &windowClass;
    windowObject.referenceCount = 1;
}

TestBrowser::~TestBrowser()
{
    current = nullptr;
}

TestBrowser& TestBrowser::Current()
{
    return *current;
}

void TestBrowser::Reset()
{
    invalidated.clear();
    requests.clear();
    invokes.clear();
    evaluations.clear();
    valuesSet.clear();
    onInvalidate = nullptr;
    onRequest = nullptr;
    onInvoke = nullptr;
    windowObjectRequests = 0;
    windowObject.referenceCount = 1;
    evaluateAnswer = "<string>answered</string>";
    supportsWindowless = true;
}

NPNetscapeFuncs TestBrowser::Table() const
{
    NPNetscapeFuncs table{};
    table.size = 172;
    table.version = 18;
    table.memalloc = MemAlloc;
    table.memfree = MemFree;
    table.geturlnotify = GetUrlNotify;
    table.getvalue = GetValue;
    table.setvalue = SetValue;
    table.invalidaterect = InvalidateRect;
    table.getstringidentifier = GetStringIdentifier;
    table.identifierisstring = IdentifierIsString;
    table.utf8fromidentifier = Utf8FromIdentifier;
    table.createobject = CreateObject;
    table.retainobject = RetainObject;
    table.releaseobject = ReleaseObject;
    table.invoke = Invoke;
    table.evaluate = Evaluate;
    table.releasevariantvalue = ReleaseVariantValue;
    return table;
}

NPVariant StringVariant(const std::string& text)
{
    NPVariant value{};
    value.type = NPVariantType_String;
    value.value.stringValue = {text.data(), static_cast<std::uint32_t>(text.size())};
    return value;
}

NPVariant IntegerVariant(std::int32_t number)
{
    NPVariant value{};
    value.type = NPVariantType_Int32;
    value.value.intValue = number;
    return value;
}

NPVariant DoubleVariant(double number)
{
    NPVariant value{};
    value.type = NPVariantType_Double;
    value.value.doubleValue = number;
    return value;
}

std::string VariantString(const NPVariant& value)
{
    if (value.type != NPVariantType_String || !value.value.stringValue.UTF8Characters)
        return {};
    return {value.value.stringValue.UTF8Characters, value.value.stringValue.UTF8Length};
}

} // namespace zn::test
