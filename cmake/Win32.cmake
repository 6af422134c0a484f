# Windows build (MinGW-w64 cross build here, MSVC on Windows): Morix.exe over
# the Win32 platform, and the Win32 test programs, which ctest runs under Wine
# through CMAKE_CROSSCOMPILING_EMULATOR.

file(GLOB MORIX_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
# It implements the platform's interfaces and sees nothing of the program.
add_library(morix_platform_win32 STATIC ${MORIX_WIN32_SOURCES})
target_compile_definitions(morix_platform_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(morix_platform_win32 PUBLIC morix_platform
    user32 gdi32 comctl32 comdlg32 winmm shell32 ole32 oleaut32 shlwapi advapi32)

option(MORIX_X86 "The 32-bit build: only the tests where it differs from the 64-bit one" OFF)

if(NOT MSVC)
    # A bare Wine prefix (or a plain Windows) has no MinGW runtime DLLs.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # No link time in the headers: the same sources give the same bytes.
    add_link_options(-Wl,--no-insert-timestamp)
endif()

# GoogleTest built from the machine's sources for this target.
set(MORIX_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(EXISTS ${MORIX_GTEST_SOURCE_DIR}/CMakeLists.txt)
    add_subdirectory(${MORIX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(MORIX_WIN32_TESTS ON)
else()
    # On Windows, point MORIX_GTEST_SOURCE_DIR at GoogleTest's sources to
    # build the component tests; the program builds without them.
    message(STATUS "GoogleTest sources not found: the Win32 component tests are not built")
    set(MORIX_WIN32_TESTS OFF)
endif()

# The icon is drawn by the asset generator: by the native build when cross
# building, by this build itself on Windows.
set(MORIX_ICON_FILE "${CMAKE_SOURCE_DIR}/dist/Morix.ico" CACHE FILEPATH "The program's icon, written by the asset generator")
if(CMAKE_CROSSCOMPILING AND NOT MORIX_BUILD_ASSETGEN AND NOT EXISTS ${MORIX_ICON_FILE})
    message(FATAL_ERROR "${MORIX_ICON_FILE} is missing: build the native preset first (its asset generator draws the icon)")
endif()
get_filename_component(MORIX_ICON_DIR ${MORIX_ICON_FILE} DIRECTORY)

if(EXISTS ${CMAKE_SOURCE_DIR}/app/CMakeLists.txt)
    add_subdirectory(app)
endif()
# Built on Windows itself, the generator runs there and fills the program
# folder; a cross build takes the assets from the native build.
option(MORIX_BUILD_ASSETGEN "Build the asset generator for Windows also when cross-building" OFF)
if(NOT CMAKE_CROSSCOMPILING OR MORIX_BUILD_ASSETGEN)
    add_subdirectory(tools/assetgen)
endif()
if(MORIX_WIN32_TESTS)
    add_subdirectory(tests/win32)
endif()

# Timed harness: the settings file beside the system's profile functions.
add_executable(bench_settings_wine ${CMAKE_SOURCE_DIR}/bench/win32/bench_settings_wine.cpp)
morix_sees_folder(bench_settings_wine bench)
target_link_libraries(bench_settings_wine PRIVATE morix_platform_win32 morix_settings)

# Timed harness: CreateProcess of Morix.exe to its clock shown (bench/startup.sh).
add_executable(bench_startup_wine ${CMAKE_SOURCE_DIR}/bench/win32/bench_startup_wine.cpp)
target_compile_definitions(bench_startup_wine PRIVATE UNICODE _UNICODE)
if(NOT MSVC)
    target_link_options(bench_startup_wine PRIVATE -municode)
endif()
target_link_libraries(bench_startup_wine PRIVATE user32)

# Timed harness: the balloon and the memo window over the real controls, run
# from a copy of the program folder (bench/forms.sh).
enable_language(RC)
add_executable(bench_forms_wine ${CMAKE_SOURCE_DIR}/bench/win32/bench_forms_wine.cpp
               ${CMAKE_SOURCE_DIR}/bench/win32/bench_forms_wine.rc)
set_source_files_properties(${CMAKE_SOURCE_DIR}/bench/win32/bench_forms_wine.rc PROPERTIES
    OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/app/Morix.manifest INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/app)
morix_sees_folder(bench_forms_wine bench)
target_link_libraries(bench_forms_wine PRIVATE morix_program morix_platform_win32)

# Timed harness: the memo window opening large memos (bench/large-memo.sh).
add_executable(bench_large_memo_wine ${CMAKE_SOURCE_DIR}/bench/win32/bench_large_memo_wine.cpp
               ${CMAKE_SOURCE_DIR}/bench/win32/bench_forms_wine.rc)
target_link_libraries(bench_large_memo_wine PRIVATE morix_program morix_platform_win32)

# Pinger: the clock window's round trips around the full hour (bench/hour-tick.sh).
add_executable(bench_hour_tick_wine ${CMAKE_SOURCE_DIR}/bench/win32/bench_hour_tick_wine.cpp)
target_compile_definitions(bench_hour_tick_wine PRIVATE UNICODE _UNICODE)
if(NOT MSVC)
    target_link_options(bench_hour_tick_wine PRIVATE -municode)
endif()
target_link_libraries(bench_hour_tick_wine PRIVATE user32 winmm)

# The end-to-end tests' probe: looks at the running clock from outside.
add_executable(morix_probe ${CMAKE_SOURCE_DIR}/tests/e2e/probe.cpp)
target_compile_definitions(morix_probe PRIVATE UNICODE _UNICODE)
if(NOT MSVC)
    target_link_options(morix_probe PRIVATE -municode)
endif()
target_link_libraries(morix_probe PRIVATE user32 gdi32)
# Which clip the face shows, and the local time as Wine gives it.
target_sources(morix_probe PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e/probe_clips.cpp
    ${CMAKE_SOURCE_DIR}/tests/e2e/probe_processes.cpp)

# The real Morix.exe end to end, observed by the probe.
if(TARGET Morix)
    add_test(NAME e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/e2e.sh ${MORIX_DIST_DIR}
             $<TARGET_FILE:morix_probe> ${CMAKE_BINARY_DIR}/e2e)
    set_tests_properties(e2e PROPERTIES TIMEOUT 900)
    # A wide screen of 2560 x 1440, on a display of its own.
    if(NOT MORIX_X86)
        add_test(NAME e2e_wide COMMAND env MORIX_XVFB_SCREEN=2560x1440x24 MORIX_E2E_FOLDER=wide
                 ${CMAKE_SOURCE_DIR}/scripts/with-xvfb.sh bash ${CMAKE_SOURCE_DIR}/tests/e2e/e2e.sh ${MORIX_DIST_DIR}
                 $<TARGET_FILE:morix_probe> ${CMAKE_BINARY_DIR}/e2e-wide)
        set_tests_properties(e2e_wide PROPERTIES TIMEOUT 300)
        # The display scaled: prefixes at 96, 144 and 192 dots per inch, on a
        # screen of the size such scales are used on (2560 x 1600 at 200 %
        # is 1280 x 800 at 100 %).
        add_test(NAME e2e_scaled COMMAND env MORIX_XVFB_SCREEN=2560x1600x24 MORIX_E2E_FOLDER=scaled
                 ${CMAKE_SOURCE_DIR}/scripts/with-xvfb.sh bash ${CMAKE_SOURCE_DIR}/tests/e2e/e2e.sh ${MORIX_DIST_DIR}
                 $<TARGET_FILE:morix_probe> ${CMAKE_BINARY_DIR}/e2e-scaled)
        set_tests_properties(e2e_scaled PROPERTIES TIMEOUT 600)
    endif()
    # The 32-bit build: its start-up case; skipped (77) where the machine
    # cannot run 32-bit programs.
    if(MORIX_X86)
        set_tests_properties(e2e PROPERTIES ENVIRONMENT "MORIX_E2E_CASES=10-*" SKIP_RETURN_CODE 77)
    endif()
endif()

# The program folder's files read, not run: the machine they are built for,
# their imports, version information and vitalink's exports. Runs on any
# machine, also one that cannot run the 32-bit build.
if(CMAKE_OBJDUMP AND TARGET Morix AND TARGET vitalink)
    if(MORIX_X86)
        set(MORIX_PE_MACHINE i386)
    else()
        set(MORIX_PE_MACHINE x86-64)
    endif()
    add_test(NAME program_files COMMAND bash ${CMAKE_SOURCE_DIR}/tests/pe/check-program-files.sh
             ${CMAKE_OBJDUMP} ${MORIX_PE_MACHINE} ${MORIX_DIST_DIR} ${MORIX_VERSION})
endif()
