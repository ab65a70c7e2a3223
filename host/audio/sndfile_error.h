// libsndfile's reason for the last failure on a file (or of sf_open, for
// null) as one line: on Windows the system's messages end in a line break.
#pragma once

#include <string>

struct sf_private_tag;

std::string sndfileError(sf_private_tag* file);
