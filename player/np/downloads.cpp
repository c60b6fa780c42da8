// Requests and streams of one instance.
#include "downloads.h"

#include <algorithm>

namespace zn::np {

namespace {

std::uint32_t TokenOf(const void* notifyData)
{
    auto value = reinterpret_cast<std::uintptr_t>(notifyData);
    return value <= UINT32_MAX ? static_cast<std::uint32_t>(value) : 0;
}

} // namespace

void* Downloads::Add(UrlRequest request)
{
    std::uint32_t token = nextToken_++;
    if (nextToken_ == 0)
        nextToken_ = 1;
    requests_[token] = std::move(request);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(token));
}

std::optional<UrlRequest> Downloads::Find(void* notifyData) const
{
    auto found = requests_.find(TokenOf(notifyData));
    if (found == requests_.end())
        return std::nullopt;
    return found->second;
}

StreamBuffer* Downloads::Open(void* notifyData, std::string streamUrl)
{
    std::uint32_t token = TokenOf(notifyData);
    auto found = requests_.find(token);
    UrlRequest request;
    if (found != requests_.end())
        request = found->second;
    else
        request = {UrlRequest::Purpose::Movie, streamUrl};
    StreamBuffer buffer;
    buffer.request = std::move(request);
    buffer.url = std::move(streamUrl);
    buffer.notifyData = notifyData;
    streams_.push_back({found != requests_.end() ? token : 0, std::move(buffer)});
    return &streams_.back().buffer;
}

bool Downloads::IsOpen(const void* stream) const
{
    return std::any_of(streams_.begin(), streams_.end(),
                       [&](const OpenStream& open) { return &open.buffer == stream; });
}

bool Downloads::Append(StreamBuffer* stream, const void* data, std::size_t length)
{
    if (length > limit_ - stream->bytes.size())
        return false;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    stream->bytes.insert(stream->bytes.end(), bytes, bytes + length);
    return true;
}

StreamBuffer Downloads::Close(StreamBuffer* stream)
{
    auto open = std::find_if(streams_.begin(), streams_.end(),
                             [&](const OpenStream& s) { return &s.buffer == stream; });
    if (open == streams_.end())
        return {};
    StreamBuffer finished = std::move(open->buffer);
    if (open->token)
        requests_.erase(open->token);
    streams_.erase(open);
    return finished;
}

bool Downloads::Notified(void* notifyData)
{
    std::uint32_t token = TokenOf(notifyData);
    bool streaming = std::any_of(streams_.begin(), streams_.end(),
                                 [&](const OpenStream& open) { return open.token == token; });
    if (streaming)
        return false;
    return requests_.erase(token) > 0;
}

} // namespace zn::np
