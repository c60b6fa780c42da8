// A small browser for the plug-in's tests: its function table records what the plug-in calls
// out with, serves the window object, identifiers, objects and memory, and lets a test act
// inside a call-out (to load a stream or destroy the instance from inside it).
#pragma once

#include "npapi.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zn::test {

struct InvalidatedRect {
    np::NPP instance;
    np::NPRect rect;
};

struct UrlRequestSeen {
    np::NPP instance;
    std::string url;
    bool targetNull;
    void* notifyData;
};

struct InvokeSeen {
    np::NPP instance;
    np::NPObject* object;
    std::string method;
    std::vector<std::string> stringArgs;
};

struct EvaluateSeen {
    np::NPP instance;
    np::NPObject* object;
    std::string script;
};

class TestBrowser {
public:
    TestBrowser();
    ~TestBrowser();
    static TestBrowser& Current();

    // Size 172, version 18, every entry the plug-in may call.
    np::NPNetscapeFuncs Table() const;

    void Reset();

    np::NPObject windowObject{};
    bool supportsWindowless = true;
    // What NPN_Evaluate answers (a string result); no answer makes the evaluation fail.
    std::optional<std::string> evaluateAnswer = std::string("<string>answered</string>");

    std::vector<InvalidatedRect> invalidated;
    std::vector<UrlRequestSeen> requests;
    std::vector<InvokeSeen> invokes;
    std::vector<EvaluateSeen> evaluations;
    std::vector<np::NPPVariable> valuesSet;
    int windowObjectRequests = 0;

    // Called inside the plug-in's call-outs, after they are recorded.
    std::function<void(const InvalidatedRect&)> onInvalidate;
    std::function<void(const UrlRequestSeen&)> onRequest;
    std::function<void(const InvokeSeen&)> onInvoke;

    std::set<std::string> identifiers;
};

// A string variant over text the caller keeps.
np::NPVariant StringVariant(const std::string& text);
np::NPVariant IntegerVariant(std::int32_t value);
np::NPVariant DoubleVariant(double value);
std::string VariantString(const np::NPVariant& value);

} // namespace zn::test
