// A small reader built on libsndfile alone: for each file, the bext and cart
// fields that `reelmarker-cli show --json` reports, one line per file. The
// benchmark compares the CLI with it over the same files in the same run.
#include <sndfile.h>

#include <cstdio>

namespace {

// Fixed-width fields are not NUL-terminated when full.
void Field(const char* name, const char* text, int width) { std::printf("%s=%.*s\t", name, width, text); }

#define FIELD(record, name) Field(#name, record.name, static_cast<int>(sizeof record.name))

bool Show(const char* path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (file == nullptr) return false;
    SF_BROADCAST_INFO bext{};
    SF_CART_INFO cart{};
    const bool hasBext = sf_command(file, SFC_GET_BROADCAST_INFO, &bext, sizeof bext) == SF_TRUE;
    const bool hasCart = sf_command(file, SFC_GET_CART_INFO, &cart, sizeof cart) == SF_TRUE;
    sf_close(file);
    std::printf("file=%s\tformat=%d\tchannels=%d\trate=%d\t", path, info.format, info.channels, info.samplerate);
    if (hasBext) {
        FIELD(bext, description);
        FIELD(bext, originator);
        FIELD(bext, originator_reference);
        FIELD(bext, origination_date);
        FIELD(bext, origination_time);
        Field("coding_history", bext.coding_history, static_cast<int>(bext.coding_history_size));
    }
    if (hasCart) {
        FIELD(cart, version);
        FIELD(cart, title);
        FIELD(cart, artist);
        FIELD(cart, cut_id);
        FIELD(cart, client_id);
        FIELD(cart, category);
        FIELD(cart, classification);
        FIELD(cart, out_cue);
        FIELD(cart, start_date);
        FIELD(cart, start_time);
        FIELD(cart, end_date);
        FIELD(cart, end_time);
        FIELD(cart, producer_app_id);
        FIELD(cart, producer_app_version);
        FIELD(cart, user_def);
        std::printf("level_reference=%d\t", cart.level_reference);
        for (const auto& timer : cart.post_timers) std::printf("timer=%.4s:%d\t", timer.usage, timer.value);
        FIELD(cart, url);
        Field("tag_text", cart.tag_text, static_cast<int>(cart.tag_text_size));
    }
    std::putchar('\n');
    return hasBext && hasCart;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        if (!Show(argv[i])) status = 1;
    }
    return status;
}
