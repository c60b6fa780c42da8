// Calls from the plug-in into the browser's table, each checked before it is made.
#include "browser.h"

#include <algorithm>
#include <cstring>

namespace zn::np {

NPError Browser::Initialize(const NPNetscapeFuncs* table)
{
    if (!table)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    if ((table->version >> 8) != NP_VERSION_MAJOR ||
        (table->version & 0xFF) < NP_VERSION_MINOR_SCRIPTING)
        return NPERR_INCOMPATIBLE_VERSION_ERROR;
    if (table->size < kRequiredBrowserTableSize)
        return NPERR_INVALID_FUNCTABLE_ERROR;
    // Entries beyond the declared size stay null: they are not the browser's to hand over.
    table_ = NPNetscapeFuncs{};
    std::memcpy(&table_, table, std::min<std::size_t>(table->size, sizeof table_));
    original_ = table;
    ready_ = true;
    return NPERR_NO_ERROR;
}

void Browser::Shutdown()
{
    table_ = NPNetscapeFuncs{};
    original_ = nullptr;
    ready_ = false;
}

NPError Browser::GetUrlNotify(NPP instance, const std::string& url, void* notifyData) const
{
    if (!table_.geturlnotify)
        return NPERR_GENERIC_ERROR;
    return table_.geturlnotify(instance, url.c_str(), nullptr, notifyData);
}

void Browser::InvalidateRect(NPP instance, NPRect rect) const
{
    if (table_.invalidaterect)
        table_.invalidaterect(instance, &rect);
}

NPError Browser::SetValue(NPP instance, NPPVariable variable, void* value) const
{
    if (!table_.setvalue)
        return NPERR_GENERIC_ERROR;
    return table_.setvalue(instance, variable, value);
}

bool Browser::SupportsWindowless(NPP instance) const
{
    // The answer is an NPBool, one byte; room for a four-byte BOOL keeps a browser that writes
    // one from writing past it.
    std::uint32_t supported = 0;
    if (!table_.getvalue)
        return false;
    return table_.getvalue(instance, NPNVSupportsWindowless, &supported) == NPERR_NO_ERROR &&
           (supported & 0xFF) != 0;
}

NPObject* Browser::WindowObject(NPP instance) const
{
    NPObject* window = nullptr;
    if (!table_.getvalue ||
        table_.getvalue(instance, NPNVWindowNPObject, &window) != NPERR_NO_ERROR)
        return nullptr;
    return window;
}

bool Browser::Invoke(NPP instance, NPObject* object, const char* method, const NPVariant* args,
                     std::uint32_t count, NPVariant* result) const
{
    if (!table_.invoke || !table_.getstringidentifier || !object)
        return false;
    NPIdentifier name = table_.getstringidentifier(method);
    return name && table_.invoke(instance, object, name, args, count, result);
}

bool Browser::Evaluate(NPP instance, NPObject* object, std::string_view script,
                       NPVariant* result) const
{
    if (!table_.evaluate || !object)
        return false;
    NPString text{script.data(), static_cast<std::uint32_t>(script.size())};
    return table_.evaluate(instance, object, &text, result);
}

void Browser::ReleaseVariant(NPVariant& value) const
{
    if (table_.releasevariantvalue)
        table_.releasevariantvalue(&value);
    value.type = NPVariantType_Void;
}

bool Browser::Enumerate(NPP instance, NPObject* object) const
{
    using EnumerateEntry = bool (*)(NPP, NPObject*, NPIdentifier**, std::uint32_t*);
    constexpr std::size_t k_enumerate_offset = 172;
    if (!original_ || (original_->version & 0xFF) < 18)
        return true;
    EnumerateEntry enumerate = nullptr;
    std::memcpy(&enumerate, reinterpret_cast<const char*>(original_) + k_enumerate_offset,
                sizeof enumerate);
    if (!enumerate)
        return false;
    NPIdentifier* names = nullptr;
    std::uint32_t count = 0;
    if (enumerate(instance, object, &names, &count) && names && table_.memfree)
        table_.memfree(names);
    return true;
}

NPObject* Browser::CreateObject(NPP instance, NPClass* objectClass) const
{
    return table_.createobject ? table_.createobject(instance, objectClass) : nullptr;
}

NPObject* Browser::RetainObject(NPObject* object) const
{
    return object && table_.retainobject ? table_.retainobject(object) : object;
}

void Browser::ReleaseObject(NPObject* object) const
{
    if (object && table_.releaseobject)
        table_.releaseobject(object);
}

std::string Browser::IdentifierName(NPIdentifier identifier) const
{
    if (!identifier || !table_.utf8fromidentifier)
        return {};
    if (table_.identifierisstring && !table_.identifierisstring(identifier))
        return {};
    char* name = table_.utf8fromidentifier(identifier);
    if (!name)
        return {};
    std::string copy = name;
    if (table_.memfree)
        table_.memfree(name);
    return copy;
}

bool Browser::SetStringResult(NPVariant& result, std::string_view text) const
{
    if (!table_.memalloc)
        return false;
    // One byte more than the text, so a browser that reads it as a C string finds an end.
    auto* memory = static_cast<char*>(table_.memalloc(static_cast<std::uint32_t>(text.size() + 1)));
    if (!memory)
        return false;
    std::memcpy(memory, text.data(), text.size());
    memory[text.size()] = '\0';
    result.type = NPVariantType_String;
    result.value.stringValue = {memory, static_cast<std::uint32_t>(text.size())};
    return true;
}

Browser& TheBrowser()
{
    static Browser instance;
    return instance;
}

} // namespace zn::np
