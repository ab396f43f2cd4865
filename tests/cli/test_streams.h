// Scripted input and failing output streams for the in-process batch tests.
#pragma once

#include "batch.h"

#include <cstddef>
#include <functional>
#include <streambuf>
#include <string>
#include <vector>

// An input stream buffer that hands over one chunk per refill, as a pipe hands
// over what the writer has written so far, then ends, or fails the way
// libstdc++'s file buffer does on a read error (std::ios_base::failure with
// the errno value). onRefill, when set, runs before each refill with the
// number of chunks handed over so far.
class ScriptedInput : public std::streambuf {
public:
    explicit ScriptedInput(std::vector<std::string> chunks, int failWith = 0)
        : m_chunks(std::move(chunks)), m_failWith(failWith)
    {
    }
    std::function<void(std::size_t)> onRefill;
    std::size_t chunksHandedOver() const { return m_next; }

protected:
    int_type underflow() override;

private:
    std::vector<std::string> m_chunks;
    int m_failWith;
    std::size_t m_next = 0;
};

// An output stream buffer that takes `capacity` bytes and then fails every
// write, like a disk that fills up. Counts the flushes that reached it.
class LimitedOutput : public std::streambuf {
public:
    explicit LimitedOutput(std::size_t capacity) : m_capacity(capacity) {}
    const std::string& text() const { return m_text; }
    int flushes() const { return m_flushes; }

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    std::size_t m_capacity;
    std::string m_text;
    int m_flushes = 0;
};

// What an in-process batch run left behind.
struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// RunBatch on `input` as a string stream.
Outcome batch(const std::string& input, const BatchOptions& options = {});
