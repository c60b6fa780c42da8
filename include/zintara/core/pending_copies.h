// The copies of application streams that wait for a player to request them, each named by a
// 32-bit token. A token a movie makes up can only miss: it is looked up, never turned into an
// address. Tokens are not reused, so a stale one never names a later copy.
//
// Plain C++, no Windows header.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace zn {

template <class T>
class TPendingCopies {
public:
    // Keeps Copy until Take asks for its token.
    std::uint32_t Add(std::unique_ptr<T> Copy)
    {
        while (FCopies.contains(FNextToken))
            ++FNextToken;
        const std::uint32_t token = FNextToken++;
        FCopies.emplace(token, std::move(Copy));
        return token;
    }

    // The copy of Token, which is then forgotten; null for an unknown or already taken token.
    std::unique_ptr<T> Take(std::uint32_t Token)
    {
        const auto found = FCopies.find(Token);
        if (found == FCopies.end())
            return nullptr;
        std::unique_ptr<T> copy = std::move(found->second);
        FCopies.erase(found);
        return copy;
    }

    std::size_t Count() const { return FCopies.size(); }

private:
    std::map<std::uint32_t, std::unique_ptr<T>> FCopies;
    std::uint32_t FNextToken = 1;
};

} // namespace zn
