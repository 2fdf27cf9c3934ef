#pragma once
// A row of the tables of characters Windows-1252 lacks: what is typed (or
// pasted, in one go), and the bytes the file then holds.
namespace quorvel::test {

struct SaisieSansOctet {
    const char16_t* saisi;
    bool colle;
    const char* stocke;
};

} // namespace quorvel::test
