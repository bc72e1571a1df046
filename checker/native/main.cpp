// launcher-check on Linux: checks a disc folder before it is made into a disc.
#include <clocale>
#include <cstdio>

#include "checker/check_disc.h"
#include "checker/utf.h"
#include "pixbuf_decoder.h"

int main(int argc, char** argv) {
    // Letter case of file names beyond ASCII is folded as Windows does.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "");
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(FromUtf8(argv[i]));
    PixbufDecoder decoder;
    std::string out, err;
    int status = RunChecker(args, decoder, out, err);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}
