# The static libsndfile that tools/build-libsndfile-mingw builds for a MinGW
# target (Debian packages none). Looks in ROOMPLATE_SNDFILE_PREFIX and defines
# the imported target SndFile::sndfile.
if(NOT ROOMPLATE_SNDFILE_PREFIX)
  message(FATAL_ERROR "FindSndFileMingw: set ROOMPLATE_SNDFILE_PREFIX")
endif()
set(_sndfile_library ${ROOMPLATE_SNDFILE_PREFIX}/lib/libsndfile.a)
set(_sndfile_include ${ROOMPLATE_SNDFILE_PREFIX}/include)

include(FindPackageHandleStandardArgs)
if(EXISTS ${_sndfile_library} AND EXISTS ${_sndfile_include}/sndfile.h)
  set(SndFileMingw_LIBRARY ${_sndfile_library})
  set(SndFileMingw_INCLUDE_DIR ${_sndfile_include})
endif()
find_package_handle_standard_args(SndFileMingw
  REQUIRED_VARS SndFileMingw_LIBRARY SndFileMingw_INCLUDE_DIR
  REASON_FAILURE_MESSAGE "no ${_sndfile_library}: run tools/build-libsndfile-mingw ${CMAKE_SYSTEM_PROCESSOR} ${ROOMPLATE_SNDFILE_PREFIX}")

if(SndFileMingw_FOUND AND NOT TARGET SndFile::sndfile)
  add_library(SndFile::sndfile STATIC IMPORTED GLOBAL)
  set_target_properties(SndFile::sndfile PROPERTIES
    IMPORTED_LOCATION ${SndFileMingw_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${SndFileMingw_INCLUDE_DIR})
endif()
unset(_sndfile_library)
unset(_sndfile_include)
