// Reads a movie, uncompressing CWS as the bytes arrive, and parses tags as they complete.
#include "znswf/movie_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "button_codec.h"
#include "byte_reader.h"
#include "record_codec.h"
#include "shape_codec.h"
#include "tag_codes.h"

namespace zn::swf {

struct MovieReader::Inflater {
    z_stream stream{};
    bool open = false;
    bool ended = false;
    Inflater() { open = inflateInit(&stream) == Z_OK; }
    ~Inflater()
    {
        if (open)
            inflateEnd(&stream);
    }
};

namespace {

constexpr size_t HeaderBytes = 8;
constexpr size_t LongestStageRecord = 17 + 4; // a RECT of 31-bit fields, the rate, the count

PlaceCommand ReadPlaceObject(ByteReader& in)
{
    PlaceCommand place;
    place.version = 1;
    place.character = in.U16();
    place.depth = in.U16();
    place.matrix = ReadMatrix(in);
    if (in.Remaining() > 0)
        place.colorTransform = ReadColorTransform(in, false);
    return place;
}

PlaceCommand ReadPlaceObject2(ByteReader& in)
{
    PlaceCommand place;
    uint8_t flags = in.U8();
    place.move = flags & 0x01;
    place.depth = in.U16();
    if (flags & 0x02)
        place.character = in.U16();
    if (flags & 0x04)
        place.matrix = ReadMatrix(in);
    if (flags & 0x08)
        place.colorTransform = ReadColorTransform(in, true);
    if (flags & 0x10)
        place.ratio = in.U16();
    if (flags & 0x20)
        place.name = in.String();
    // Clip depth and clip actions follow; masks and clip events are not played.
    return place;
}

// The tags a timeline is made of, for the main one and for sprites alike; false for others.
bool ParseControlTag(uint16_t code, const uint8_t* body, size_t length, Frame& pending)
{
    ByteReader in(body, length);
    switch (code) {
    case tag::PlaceObject:
    case tag::PlaceObject2: {
        PlaceCommand place = code == tag::PlaceObject ? ReadPlaceObject(in) : ReadPlaceObject2(in);
        if (!in.Failed())
            pending.commands.push_back(std::move(place));
        return true;
    }
    case tag::RemoveObject:
    case tag::RemoveObject2: {
        RemoveCommand remove;
        remove.version = code == tag::RemoveObject ? 1 : 2;
        if (code == tag::RemoveObject)
            remove.character = in.U16();
        remove.depth = in.U16();
        // Made in place: a push_back through the variant's converting constructor has GCC 12
        // warn that the other alternative's fields may be uninitialised.
        if (!in.Failed())
            pending.commands.emplace_back(std::in_place_type<RemoveCommand>, remove);
        return true;
    }
    case tag::DoAction:
        pending.actions.push_back(
            std::make_shared<const std::vector<uint8_t>>(body, body + length));
        return true;
    case tag::FrameLabel: {
        std::string label = in.String();
        if (!in.Failed())
            pending.label = std::move(label);
        return true;
    }
    default: return false;
    }
}

bool IsDefined(const Movie& movie, uint16_t id)
{
    return movie.shapes.contains(id) || movie.buttons.contains(id) || movie.sprites.contains(id) ||
           movie.videos.contains(id);
}

// A sprite's tags up to its End: frames of placements, actions and labels. Definitions have
// no place inside a sprite and are passed over.
void ReadSpriteTags(ByteReader& in, Sprite& sprite)
{
    Frame pending;
    while (in.Remaining() >= 2) {
        uint16_t code_and_length = in.U16();
        size_t length = code_and_length & 0x3F;
        if (length == 0x3F)
            length = in.U32();
        if (in.Failed() || length > in.Remaining())
            break;
        uint16_t code = code_and_length >> 6;
        const uint8_t* body = in.Current();
        in.Skip(length);
        if (code == tag::End)
            break;
        if (code == tag::ShowFrame) {
            sprite.frames.push_back(std::move(pending));
            pending = {};
            continue;
        }
        ParseControlTag(code, body, length, pending);
    }
    if (!pending.commands.empty() || !pending.actions.empty())
        sprite.frames.push_back(std::move(pending));
}

} // namespace

MovieReader::MovieReader() = default;
MovieReader::~MovieReader() = default;

void MovieReader::Append(std::span<const uint8_t> bytes)
{
    const uint8_t* data = bytes.data();
    size_t size = bytes.size();
    if (state_ == State::WaitingForHeader) {
        size_t take = std::min(size, HeaderBytes - signature_.size());
        signature_.insert(signature_.end(), data, data + take);
        data += take;
        size -= take;
        if (signature_.size() < HeaderBytes)
            return;
        ParseHeader();
    }
    if (state_ != State::Reading)
        return;
    AppendBody(data, size);
    ParseTags();
}

void MovieReader::Finish()
{
    if (state_ == State::WaitingForHeader)
        state_ = State::Failed;
    if (state_ != State::Reading)
        return;
    finishing_ = true;
    if (!stageRead_)
        ParseTags();
    if (state_ == State::Reading)
        Complete();
}

void MovieReader::ParseHeader()
{
    bool compressed = signature_[0] == 'C';
    if ((signature_[0] != 'F' && !compressed) || signature_[1] != 'W' || signature_[2] != 'S') {
        state_ = State::Failed;
        return;
    }
    movie_ = std::make_shared<Movie>();
    movie_->header.compressed = compressed;
    movie_->header.version = signature_[3];
    ByteReader length(signature_.data() + 4, 4);
    movie_->header.declaredLength = length.U32();
    if (compressed) {
        inflater_ = std::make_unique<Inflater>();
        if (!inflater_->open) {
            state_ = State::Failed;
            return;
        }
    }
    state_ = State::Reading;
}

void MovieReader::AppendBody(const uint8_t* data, size_t size)
{
    // The declared length bounds the movie; bytes past it (or past the engine's limit) are not part of it.
    size_t limit =
        std::min<size_t>(MaximumMovieBytes, movie_->header.declaredLength > HeaderBytes
                                                ? movie_->header.declaredLength - HeaderBytes
                                                : 0);
    if (parsed_ > 65536 && parsed_ * 2 > body_.size()) {
        body_.erase(body_.begin(), body_.begin() + static_cast<std::ptrdiff_t>(parsed_));
        parsed_ = 0;
    }
    if (!inflater_) {
        size_t take = std::min(size, limit - std::min(limit, bodyReceived_));
        body_.insert(body_.end(), data, data + take);
        bodyReceived_ += take;
        return;
    }
    z_stream& z = inflater_->stream;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    uint8_t chunk[16384];
    while (z.avail_in > 0 && !inflater_->ended && bodyReceived_ < limit) {
        z.next_out = chunk;
        z.avail_out = static_cast<uInt>(std::min(sizeof chunk, limit - bodyReceived_));
        int result = inflate(&z, Z_NO_FLUSH);
        size_t produced = static_cast<size_t>(z.next_out - chunk);
        body_.insert(body_.end(), chunk, chunk + produced);
        bodyReceived_ += produced;
        if (result == Z_STREAM_END || (result != Z_OK && result != Z_BUF_ERROR))
            inflater_->ended = true;
        if (result == Z_BUF_ERROR && produced == 0)
            break;
    }
}

void MovieReader::ParseTags()
{
    size_t available = body_.size() - parsed_;
    if (!stageRead_) {
        if (available < LongestStageRecord && !finishing_)
            return; // wait for the whole stage record
        ByteReader in(body_.data() + parsed_, available);
        movie_->header.stage = ReadRect(in);
        movie_->header.frameRate = in.U16();
        movie_->header.declaredFrameCount = in.U16();
        if (in.Failed()) {
            Complete();
            return;
        }
        parsed_ += in.Position();
        stageRead_ = true;
    }
    while (state_ == State::Reading) {
        ByteReader in(body_.data() + parsed_, body_.size() - parsed_);
        uint16_t code_and_length = in.U16();
        size_t length = code_and_length & 0x3F;
        if (length == 0x3F)
            length = in.U32();
        if (in.Failed() || length > in.Remaining())
            return; // the tag is not all here yet
        uint16_t code = code_and_length >> 6;
        const uint8_t* tag_body = in.Current();
        parsed_ += in.Position() + length;
        ParseTag(code, tag_body, length);
    }
}

void MovieReader::ParseTag(uint16_t code, const uint8_t* body, size_t length)
{
    ByteReader in(body, length);
    switch (code) {
    case tag::End: Complete(); return;
    case tag::ShowFrame:
        movie_->frames.push_back(std::move(pending_));
        pending_ = {};
        return;
    case tag::SetBackgroundColor: {
        Rgba color = ReadRgb(in);
        if (!in.Failed() && !movie_->background)
            movie_->background = color;
        return;
    }
    case tag::DefineShape:
    case tag::DefineShape2:
    case tag::DefineShape3: {
        auto shape = std::make_shared<Shape>();
        shape->id = in.U16();
        shape->version = code == tag::DefineShape ? 1 : code == tag::DefineShape2 ? 2 : 3;
        if (ReadShapeBody(in, *shape) && !IsDefined(*movie_, shape->id))
            movie_->shapes.emplace(shape->id, std::move(shape));
        return;
    }
    case tag::DefineButton2: {
        auto button = std::make_shared<Button>();
        if (ReadButton(in, *button) && !IsDefined(*movie_, button->id))
            movie_->buttons.emplace(button->id, std::move(button));
        return;
    }
    case tag::DefineSprite: {
        auto sprite = std::make_shared<Sprite>();
        sprite->id = in.U16();
        in.U16(); // the declared frame count; the frames themselves count
        if (!in.Failed() && !IsDefined(*movie_, sprite->id)) {
            ReadSpriteTags(in, *sprite);
            movie_->sprites.emplace(sprite->id, std::move(sprite));
        }
        return;
    }
    case tag::DefineVideoStream: {
        VideoDefinition video;
        video.id = in.U16();
        video.frameCount = in.U16();
        video.width = in.U16();
        video.height = in.U16();
        uint8_t flags = in.U8();
        video.deblocking = (flags >> 1) & 0x07;
        video.smoothing = flags & 0x01;
        video.codec = in.U8();
        if (!in.Failed() && !IsDefined(*movie_, video.id))
            movie_->videos.emplace(video.id, video);
        return;
    }
    default:
        if (ParseControlTag(code, body, length, pending_))
            return;
        if (std::find(movie_->skippedTags.begin(), movie_->skippedTags.end(), code) ==
            movie_->skippedTags.end())
            movie_->skippedTags.push_back(code);
        return;
    }
}

void MovieReader::Complete()
{
    if (!pending_.commands.empty() || !pending_.actions.empty())
        movie_->frames.push_back(std::move(pending_));
    pending_ = {};
    movie_->complete = true;
    state_ = State::Complete;
    body_.clear();
    body_.shrink_to_fit();
    parsed_ = 0;
    inflater_.reset();
}

std::shared_ptr<const Movie> ReadMovie(std::span<const uint8_t> bytes)
{
    MovieReader reader;
    reader.Append(bytes);
    reader.Finish();
    return reader.GetMovie();
}

} // namespace zn::swf
