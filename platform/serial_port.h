#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace hvr::platform {

// The serial line as the link uses it: a port opened by number at 4800 baud 8N1, a receive
// threshold, bounded reads and a discard of both directions.
//
// The data-received handler runs on the user-interface thread, from the event loop, once at
// least threshold() bytes wait; it is never called from inside another call on this port.
// While bytes at or above the threshold still wait after the handler returns, it runs again.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens port number 1..16 of the port table; false (and still closed) when the device is
    // missing, busy or cannot take the settings.
    virtual bool open(int portNumber) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // 0 turns the data-received handler off.
    virtual void setThreshold(int bytes) = 0;
    virtual int threshold() const = 0;

    // At most maxBytes of what waits; maybe fewer, maybe none.
    virtual std::vector<std::uint8_t> read(int maxBytes) = 0;
    virtual int bytesWaiting() const = 0;

    // Queues the bytes for sending and returns at once.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;

    // Since the last write, bytes arrived sooner than the line's speed allows an answer to it
    // (see LineTiming); never on a line without a speed of its own (a pseudo-terminal).
    virtual bool arrivedAhead() const = 0;

    virtual void discardInput() = 0;
    virtual void discardOutput() = 0;

    virtual void setDataReceivedHandler(std::function<void()> handler) = 0;
};

} // namespace hvr::platform
