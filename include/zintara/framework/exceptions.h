// The framework's exception classes: one base carrying a UTF-16 message, and one class per
// kind of failure that callers may want to tell apart.
#pragma once

#include <exception>
#include <string>

namespace zn {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring Message);

    const std::wstring& Message() const noexcept { return FMessage; }
    // The message in UTF-8, for code that only knows std::exception.
    const char* what() const noexcept override { return FNarrowMessage.c_str(); }

private:
    std::wstring FMessage;
    std::string FNarrowMessage;
};

// Declares a class that adds nothing to its base but its identity.
#define ZN_DECLARE_EXCEPTION(Name, Base)                                                           \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

ZN_DECLARE_EXCEPTION(EConvertError, Exception);
ZN_DECLARE_EXCEPTION(EOutOfMemory, Exception);
ZN_DECLARE_EXCEPTION(EResNotFound, Exception);
ZN_DECLARE_EXCEPTION(EListError, Exception);
ZN_DECLARE_EXCEPTION(EComponentError, Exception);
ZN_DECLARE_EXCEPTION(EInvalidOperation, Exception);
// A value the designer cannot store in a property.
ZN_DECLARE_EXCEPTION(EPropertyError, Exception);
ZN_DECLARE_EXCEPTION(EStreamError, Exception);
ZN_DECLARE_EXCEPTION(EFOpenError, EStreamError);
ZN_DECLARE_EXCEPTION(EFCreateError, EStreamError);
// Every failure of reading or writing a form is an EFilerError.
ZN_DECLARE_EXCEPTION(EFilerError, EStreamError);
ZN_DECLARE_EXCEPTION(EReadError, EFilerError);
ZN_DECLARE_EXCEPTION(EWriteError, EFilerError);
ZN_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
ZN_DECLARE_EXCEPTION(EParserError, EReadError);

#undef ZN_DECLARE_EXCEPTION

// The text of a Win32 error code, without the trailing line break.
std::wstring SystemErrorMessage(unsigned long ErrorCode);

} // namespace zn
