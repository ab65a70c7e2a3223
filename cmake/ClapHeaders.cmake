# rp_clap_headers: the CLAP 1.2.10 headers as published, for the binding and
# for the CLI's CLAP loader. ROOMPLATE_CLAP_INCLUDE_DIR defaults to the copy
# beside this tree; without it the release is fetched.
set(ROOMPLATE_CLAP_INCLUDE_DIR ${PROJECT_SOURCE_DIR}/../shared/third_party/clap/include
    CACHE PATH "Folder holding clap/clap.h (CLAP 1.2.10)")
if(NOT EXISTS ${ROOMPLATE_CLAP_INCLUDE_DIR}/clap/clap.h)
  include(FetchContent)
  FetchContent_Declare(clap_headers GIT_REPOSITORY https://github.com/free-audio/clap.git GIT_TAG 1.2.10
                       GIT_SHALLOW ON)
  FetchContent_Populate(clap_headers)
  set(ROOMPLATE_CLAP_INCLUDE_DIR ${clap_headers_SOURCE_DIR}/include CACHE PATH "" FORCE)
endif()
add_library(rp_clap_headers INTERFACE)
target_include_directories(rp_clap_headers SYSTEM INTERFACE ${ROOMPLATE_CLAP_INCLUDE_DIR})
