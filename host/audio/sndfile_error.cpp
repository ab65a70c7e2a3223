#include "host/audio/sndfile_error.h"

#include <sndfile.h>

std::string sndfileError(sf_private_tag* file) {
    std::string text = sf_strerror(file);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}
