# libdeflate, the deflate and CRC-32 of the archiver's one-call pieces.
# Debian packages it for Linux only, so scripts/setup.sh fetches Debian's
# source package of the system's own release into .cache/libdeflate
# (apt-get source, with Debian's patches applied) and this file builds it
# for MinGW-w64 as a static library. The version is pinned here and the
# upstream tarball checked against its SHA-256, so every machine and CI
# build the same code; scripts/setup.sh reads the version from this file.
set(VARO_LIBDEFLATE_DEBIAN_VERSION 1.14-1)
set(VARO_LIBDEFLATE_ORIG_SHA256 89e7df898c37c3427b0f39aadcf733731321a278771d20fc553f92da8d4808ac)

string(REGEX REPLACE "-[^-]*$" "" VARO_LIBDEFLATE_VERSION ${VARO_LIBDEFLATE_DEBIAN_VERSION})
set(VARO_LIBDEFLATE_CACHE ${CMAKE_SOURCE_DIR}/.cache/libdeflate)
set(VARO_LIBDEFLATE_DIR ${VARO_LIBDEFLATE_CACHE}/libdeflate-${VARO_LIBDEFLATE_VERSION})
set(VARO_LIBDEFLATE_ORIG ${VARO_LIBDEFLATE_CACHE}/libdeflate_${VARO_LIBDEFLATE_VERSION}.orig.tar.gz)

if(NOT EXISTS ${VARO_LIBDEFLATE_DIR}/libdeflate.h OR NOT EXISTS ${VARO_LIBDEFLATE_ORIG})
    message(FATAL_ERROR "libdeflate ${VARO_LIBDEFLATE_DEBIAN_VERSION} is not in ${VARO_LIBDEFLATE_CACHE}: "
                        "run scripts/setup.sh")
endif()
file(SHA256 ${VARO_LIBDEFLATE_ORIG} VARO_LIBDEFLATE_FOUND_SHA256)
if(NOT VARO_LIBDEFLATE_FOUND_SHA256 STREQUAL VARO_LIBDEFLATE_ORIG_SHA256)
    message(FATAL_ERROR "${VARO_LIBDEFLATE_ORIG} is not the pinned libdeflate ${VARO_LIBDEFLATE_DEBIAN_VERSION}: "
                        "remove ${VARO_LIBDEFLATE_CACHE} and run scripts/setup.sh")
endif()

file(GLOB VARO_LIBDEFLATE_SOURCES ${VARO_LIBDEFLATE_DIR}/lib/*.c ${VARO_LIBDEFLATE_DIR}/lib/x86/*.c
     ${VARO_LIBDEFLATE_DIR}/lib/arm/*.c)
add_library(varo_libdeflate STATIC ${VARO_LIBDEFLATE_SOURCES})
# Its own include layout; the header is included as <libdeflate.h>.
target_include_directories(varo_libdeflate PRIVATE ${VARO_LIBDEFLATE_DIR})
target_include_directories(varo_libdeflate SYSTEM INTERFACE ${VARO_LIBDEFLATE_DIR})
set_target_properties(varo_libdeflate PROPERTIES C_STANDARD 99)
# Upstream's code: built as upstream builds it, its warnings are not ours.
target_compile_options(varo_libdeflate PRIVATE -O2 -w)
