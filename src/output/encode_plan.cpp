#include <string>

#include "model/packing.hpp"
#include "output/block_buffer.hpp"
#include "output/encoders.hpp"

namespace scenario {

std::uint64_t plan_file_size(std::uint64_t m) {
    return 18 + 2 * (8 + 10 * (m - 3) + 4);
}

namespace {

// Collects the plan file in order: runs of doubles go to the sink straight from the
// plan's slots (they are the file's bytes already); the few other values are encoded
// into a small pending piece that goes out before the next run.
class plan_writer {
  public:
    plan_writer(const tracciato_linea& t, byte_sink& out) : slots_(t.slots()), out_(out) {
        pending_.reserve(pending_limit);
    }

    void header(std::int32_t metres) {
        put(std::uint16_t{2});  // two dimensions
        if (plan_header_metre_pair_first) {
            put(metres), put(std::int32_t{0}), put(std::int32_t{2}), put(std::int32_t{0});
        } else {
            put(std::int32_t{2}), put(std::int32_t{0}), put(metres), put(std::int32_t{0});
        }
    }
    void value(std::size_t i) {
        const char* s = slots_.data() + tracciato_linea::slot_bytes * i;
        const auto tag = static_cast<std::uint16_t>(static_cast<unsigned char>(s[0]) |
                                                    static_cast<unsigned char>(s[1]) << 8);
        if (tag == static_cast<std::uint16_t>(tipo_valore::doppio)) {
            if (run_first_ == none) {
                run_first_ = i;
            }
            return;
        }
        end_run(i);
        // An integer keeps its two value bytes; an empty value is its tag alone.
        add_pending(s, tag == static_cast<std::uint16_t>(tipo_valore::intero) ? 4 : 2);
    }
    void doubles(std::size_t first) {
        if (run_first_ == none) {
            run_first_ = first;
        }
    }
    void finish(std::size_t end) {
        end_run(end);
        send_pending();
    }

  private:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    // Runs shorter than this are copied into the pending piece rather than written on
    // their own, so that a plan of many short runs still makes few large writes.
    static constexpr std::size_t short_run_bytes = std::size_t{64} << 10;
    static constexpr std::size_t pending_limit = block_buffer::capacity;

    template <typename T>
    void put(T v) {
        char bytes[sizeof v];
        put_le(bytes, v);
        add_pending(bytes, sizeof bytes);
    }
    void add_pending(const char* bytes, std::size_t n) {
        if (pending_.size() + n > pending_limit) {
            send_pending();
        }
        pending_.append(bytes, n);
    }
    void send_pending() {
        if (!pending_.empty()) {
            out_.write(pending_);
            pending_.clear();
        }
    }
    void end_run(std::size_t end) {
        if (run_first_ == none) {
            return;
        }
        const std::string_view run =
            slots_.substr(tracciato_linea::slot_bytes * run_first_,
                          tracciato_linea::slot_bytes * (end - run_first_));
        run_first_ = none;
        if (run.size() < short_run_bytes) {
            add_pending(run.data(), run.size());
            return;
        }
        send_pending();
        out_.write(run);
    }

    std::string_view slots_;
    byte_sink& out_;
    std::string pending_;
    std::size_t run_first_ = none;
};

}  // namespace

// About two million values on the largest route: blocks known to hold doubles only are
// not even looked at, and each run of doubles reaches the sink in one write.
void encode_plan(const tracciato_linea& tracciato, byte_sink& out) {
    plan_writer w(tracciato, out);
    w.header(fit<std::int32_t>(static_cast<std::int64_t>(tracciato.punti()), "line plan length"));
    const std::size_t count = tracciato.valori();
    constexpr std::size_t block = tracciato_linea::slots_per_block;
    for (std::size_t b = 0; b * block < count; ++b) {
        const std::size_t first = b * block;
        if (tracciato.block_all_doubles(b)) {
            w.doubles(first);
            continue;
        }
        const std::size_t last = std::min(count, first + block);
        for (std::size_t i = first; i < last; ++i) {
            w.value(i);
        }
    }
    w.finish(count);
}

}  // namespace scenario
