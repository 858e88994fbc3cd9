#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace md {

/// An open serial line to a test device. Every call returns within its time-out: nothing in
/// the plug-in waits on a thread.
class SerialPort
{
public:
    virtual ~SerialPort() = default;
    /// Writes every byte within the time-out; false on an error or when the line stays full.
    virtual bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) = 0;
    /// Reads until the buffer is full or the time-out has passed in all; the number of bytes
    /// read, or -1 on an error (a hang-up included). A zero time-out only takes what is there.
    virtual std::ptrdiff_t Read(std::span<std::uint8_t> bytes,
                                std::chrono::milliseconds timeout) = 0;
    /// Drops what is waiting to be sent and what was received but not read.
    virtual void Purge() = 0;
    /// Drops only what was received but not read: a frame on its way out is not cut short.
    virtual void PurgeInput() = 0;
    /// Forgets a line error so that the next transfer can go ahead.
    virtual void ClearErrors() = 0;
    /// A descriptor that polls readable when bytes have arrived or the line is gone, for an event
    /// loop to wait on instead of asking again and again; -1 when the port has none.
    virtual int Descriptor() const { return -1; }
};

} // namespace md
