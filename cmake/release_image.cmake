# What makes the program a finished Windows program: its resources (icon,
# manifest, version information), a hardened and reproducible image, and the
# release zip. Included from the top-level CMakeLists.txt on Windows.

# The release's date: that of the commit being built (or SOURCE_DATE_EPOCH,
# when set), so that a rebuild of a commit gives the same bytes and a new
# release carries its own date. A commit or checkout configures again.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(commit_time)
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  endif()
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/.git/logs/HEAD)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/.git/logs/HEAD)
endif()
string(TIMESTAMP LAUNCH_RELEASE_DATE "%Y-%m-%d" UTC)  # takes SOURCE_DATE_EPOCH
string(TIMESTAMP LAUNCH_RELEASE_YEAR "%Y" UTC)

# Resources. Windows shows the version as four numbers.
set(LAUNCH_FILE_VERSION_COMMAS
  "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
string(REPLACE "," "." LAUNCH_FILE_VERSION "${LAUNCH_FILE_VERSION_COMMAS}")
set(LAUNCH_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
set(LAUNCH_MANIFEST ${PROJECT_BINARY_DIR}/resources/launch.manifest)
configure_file(resources/launch.manifest.in ${LAUNCH_MANIFEST} @ONLY)
configure_file(resources/launch.rc.in ${PROJECT_BINARY_DIR}/resources/launch.rc @ONLY)
target_sources(launch PRIVATE ${PROJECT_BINARY_DIR}/resources/launch.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/resources/launch.rc APPEND PROPERTY OBJECT_DEPENDS
  ${LAUNCH_RESOURCES}/launch.ico ${LAUNCH_MANIFEST})

# ASLR and DEP; no time stamp, so that the same sources give the same bytes.
# (Visual C++ links with ASLR and DEP by default.) The link map, beside the
# program, tells the release check what each part of the image came from.
if(NOT MSVC)
  target_link_options(launch PRIVATE
    -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp -Wl,-Map=${PROJECT_BINARY_DIR}/launch.map)
endif()

# The example settings file of the release zip, with Windows line ends.
set(dist ${PROJECT_BINARY_DIR}/dist)
configure_file(resources/launch.ini.in ${dist}/launch.ini @ONLY NEWLINE_STYLE CRLF)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Nothing in the program unwinds the stack: no tables for it.
  if(NOT MSVC)
    foreach(target launch launch_win32 launch_core)
      target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
    endforeach()
  endif()

  # The release zip: cmake --build --preset windows-x86 --target dist
  find_package(Python3 COMPONENTS Interpreter)
  if(NOT Python3_FOUND)
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -E echo "dist needs Python 3: install it (on Debian: apt-get install python3), configure again"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
  else()
    # The program in the zip is signed (Authenticode, SHA-256) when a PKCS#12 file is given:
    #   -DLAUNCH_SIGN_PKCS12=cert.p12 -DLAUNCH_SIGN_PASSWORD_FILE=password.txt [-DLAUNCH_SIGN_TIMESTAMP_URL=URL]
    # The password stays in its file, out of the cache and of every command line. The signing time
    # is the release's, so the same commit and certificate give the same bytes; a time stamp, asked
    # for only when a server is named, is the server's and differs from one signing to the next.
    set(LAUNCH_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file that signs launch.exe in the release zip (empty: unsigned)")
    set(LAUNCH_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File whose first line is the password of LAUNCH_SIGN_PKCS12")
    set(LAUNCH_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping server for the signature (empty: none)")
    set(program ${CMAKE_COMMAND} -E copy $<TARGET_FILE:launch> ${dist}/launch.exe)
    if(LAUNCH_SIGN_PKCS12)
      find_program(OSSLSIGNCODE osslsigncode REQUIRED)  # on Debian: apt-get install osslsigncode
      string(TIMESTAMP release_time "%s" UTC)
      set(program ${OSSLSIGNCODE} sign -pkcs12 ${LAUNCH_SIGN_PKCS12} -h sha256 -time ${release_time})
      if(LAUNCH_SIGN_PASSWORD_FILE)  # none for a PKCS#12 file without password
        list(APPEND program -readpass ${LAUNCH_SIGN_PASSWORD_FILE})
      endif()
      if(LAUNCH_SIGN_TIMESTAMP_URL)
        list(APPEND program -ts ${LAUNCH_SIGN_TIMESTAMP_URL})
      endif()
      list(APPEND program -in $<TARGET_FILE:launch> -out ${dist}/launch.exe)
    endif()
    set(zip ${dist}/launch-${PROJECT_VERSION}-win32.zip)
    add_custom_command(OUTPUT ${zip} ${zip}.sha256 ${dist}/launch.exe
      COMMAND ${CMAKE_COMMAND} -E rm -f ${dist}/launch.exe  # osslsigncode writes no file that exists
      COMMAND ${program}
      COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/make_package.py ${zip} ${LAUNCH_RELEASE_DATE}
        launch.exe=${dist}/launch.exe launch.ini=${dist}/launch.ini README.txt=${PROJECT_SOURCE_DIR}/docs/guide.md
        CHANGELOG.txt=${PROJECT_SOURCE_DIR}/CHANGELOG.md LICENSE.txt=${PROJECT_SOURCE_DIR}/LICENSE
      DEPENDS launch ${dist}/launch.ini ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/cmake/make_package.py
        ${LAUNCH_SIGN_PKCS12} ${LAUNCH_SIGN_PASSWORD_FILE}
      VERBATIM)
    add_custom_target(dist DEPENDS ${zip})
  endif()
endif()
