// The URLs an instance asked the browser for, and the streams that answer them. The browser
// gets a small number as notifyData, never an address, and the plug-in finds the request again
// from it; a stream's bytes are appended in arrival order whatever offset the browser names,
// because some browsers hand every piece of a download over at offset 0.
#pragma once

#include "znswf/movie_reader.h"

#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zn::np {

struct UrlRequest {
    enum class Purpose { Movie, MovieFile };
    Purpose purpose = Purpose::Movie;
    std::string url;
};

struct StreamBuffer {
    UrlRequest request;
    std::string url;            // as the browser names the stream
    void* notifyData = nullptr; // as the browser handed it with the stream
    std::vector<std::uint8_t> bytes;
};

class Downloads {
public:
    // No stream may hold more than limit bytes (by default the most a movie may have).
    explicit Downloads(std::size_t limit = swf::MaximumMovieBytes) : limit_(limit) {}

    // The notifyData to hand the browser with the request.
    void* Add(UrlRequest request);
    std::optional<UrlRequest> Find(void* notifyData) const;

    // A stream for a request, or for an unknown one: a stream nobody asked for is the movie,
    // as the stream of an embed's source would be.
    StreamBuffer* Open(void* notifyData, std::string streamUrl);
    bool IsOpen(const void* stream) const;
    // False, and nothing kept, when the stream would grow past the limit.
    bool Append(StreamBuffer* stream, const void* data, std::size_t length);
    // Ends the stream and its request; the finished stream's contents.
    StreamBuffer Close(StreamBuffer* stream);

    // The browser's notification for a request: forgets the request unless a stream for it is
    // still open, and says whether it was forgotten.
    bool Notified(void* notifyData);
    std::size_t PendingRequests() const { return requests_.size(); }

private:
    std::size_t limit_;
    std::uint32_t nextToken_ = 1;
    std::map<std::uint32_t, UrlRequest> requests_;
    struct OpenStream {
        std::uint32_t token;
        StreamBuffer buffer;
    };
    std::list<OpenStream> streams_;
};

} // namespace zn::np
