// Reads a movie from bytes, all at once or in pieces as a download delivers them. Frames
// become available as soon as their tags are complete; a malformed tag is dropped, a
// malformed file keeps what could be read before the damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "znswf/movie.h"

namespace zn::swf {

// Hard limits on what one movie may make the reader hold.
inline constexpr size_t MaximumMovieBytes = 64u << 20;

class MovieReader {
public:
    enum class State { WaitingForHeader, Reading, Complete, Failed };

    MovieReader();
    ~MovieReader();
    MovieReader(const MovieReader&) = delete;
    MovieReader& operator=(const MovieReader&) = delete;

    void Append(std::span<const uint8_t> bytes);
    // No more bytes will come: whatever is parseable has been parsed, the movie is complete.
    void Finish();

    State GetState() const { return state_; }
    // Null until the header has been read (and when it was not a movie).
    std::shared_ptr<const Movie> GetMovie() const { return movie_; }

private:
    struct Inflater;

    void AppendBody(const uint8_t* data, size_t size);
    void ParseHeader();
    void ParseTags();
    void ParseTag(uint16_t code, const uint8_t* body, size_t length);
    void Complete();

    State state_ = State::WaitingForHeader;
    std::vector<uint8_t> signature_; // the first eight bytes
    std::vector<uint8_t> body_;      // uncompressed bytes after them, not yet parsed
    size_t bodyReceived_ = 0;        // all uncompressed bytes after the first eight so far
    size_t parsed_ = 0;              // offset into body_
    bool stageRead_ = false;
    bool finishing_ = false;
    std::unique_ptr<Inflater> inflater_;
    std::shared_ptr<Movie> movie_;
    Frame pending_;
};

// Reads a whole movie; null when the bytes do not start like one.
std::shared_ptr<const Movie> ReadMovie(std::span<const uint8_t> bytes);

} // namespace zn::swf
