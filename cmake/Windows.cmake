# Windows build with mingw-w64: Wordlark.exe and its companion files, the tests
# that must run against the real platform (under Wine here) and the benchmarks.
# A Release build is what ships: optimised, stripped, into dist/. Any other
# build type keeps its program in its own build folder, so that a debug build
# never replaces the shipped one.
set(TINYXML_SRC ${CMAKE_SOURCE_DIR}/build/third_party/tinyxml)
set(BENCHMARK_SRC ${CMAKE_SOURCE_DIR}/build/third_party/benchmark)
foreach(source ${TINYXML_SRC}/tinyxml.cpp ${BENCHMARK_SRC}/CMakeLists.txt)
    if(NOT EXISTS ${source})
        message(FATAL_ERROR "${source} missing: run scripts/install-deps.sh")
    endif()
endforeach()

if(CMAKE_BUILD_TYPE STREQUAL "Release")
    set(WLK_DIST ${CMAKE_SOURCE_DIR}/dist)
    string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
    string(REPLACE "-O3" "-O2" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
    add_link_options(-s)
else()
    set(WLK_DIST ${CMAKE_BINARY_DIR}/dist)
endif()

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(tinyxml STATIC ${TINYXML_SRC}/tinyxml.cpp ${TINYXML_SRC}/tinystr.cpp
    ${TINYXML_SRC}/tinyxmlerror.cpp ${TINYXML_SRC}/tinyxmlparser.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_SRC})
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)

# zlib from Debian's mingw-w64 package, its static library: the program ships
# without a zlib1.dll beside it.
find_path(ZLIB_INCLUDE_DIR zlib.h REQUIRED)
find_library(ZLIB_STATIC_LIBRARY NAMES libz.a REQUIRED)

add_library(wlk_core STATIC ${WLK_CORE_SOURCES})
target_include_directories(wlk_core PUBLIC ${CMAKE_SOURCE_DIR})
target_include_directories(wlk_core SYSTEM PRIVATE ${ZLIB_INCLUDE_DIR})
target_compile_options(wlk_core PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_core PUBLIC tinyxml ${ZLIB_STATIC_LIBRARY})

add_library(wlk_win32 STATIC ${WLK_WIN32_PLATFORM_SOURCES})
target_compile_options(wlk_win32 PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_win32 PUBLIC wlk_core advapi32 shell32 user32 ole32 comctl32 version winmm wtsapi32
    wininet uuid)

# Icons and version resource.
string(REPLACE "." "," WLK_VERSION_COMMAS ${PROJECT_VERSION})
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/res/version.h @ONLY)
set(WLK_ICONS wordlark wordlark_alt rtf program google yandex)
list(TRANSFORM WLK_ICONS REPLACE "(.+)" "${CMAKE_BINARY_DIR}/res/\\1.ico" OUTPUT_VARIABLE WLK_ICON_FILES)
add_custom_command(OUTPUT ${WLK_ICON_FILES}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/res/make_icons.py ${CMAKE_BINARY_DIR}/res
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_icons.py)
add_custom_target(wlk_icons DEPENDS ${WLK_ICON_FILES})

# Language files, converted to the UTF-16 that the profile functions keep.
file(GLOB WLK_LANGUAGE_SOURCES CONFIGURE_DEPENDS res/lng/*.lng)
foreach(src ${WLK_LANGUAGE_SOURCES})
    get_filename_component(name ${src} NAME)
    add_custom_command(OUTPUT ${WLK_DIST}/${name}
        COMMAND python3 ${CMAKE_SOURCE_DIR}/res/make_lng.py ${src} ${WLK_DIST}/${name}
            ${CMAKE_SOURCE_DIR}/language/english_strings.inc ${CMAKE_SOURCE_DIR}/res/wordlark.rc
        DEPENDS ${src} ${CMAKE_SOURCE_DIR}/res/make_lng.py ${CMAKE_SOURCE_DIR}/language/english_strings.inc)
    list(APPEND WLK_LANGUAGE_FILES ${WLK_DIST}/${name})
endforeach()
add_custom_target(wlk_languages ALL DEPENDS ${WLK_LANGUAGE_FILES})

# The sample phrase library a new user sees, written in the phrase editor's form.
execute_process(COMMAND python3 ${CMAKE_SOURCE_DIR}/res/make_phrases.py --list
    OUTPUT_VARIABLE WLK_SAMPLE_PHRASES OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/make_phrases.py)
list(TRANSFORM WLK_SAMPLE_PHRASES PREPEND ${WLK_DIST}/UserPhrases/ OUTPUT_VARIABLE WLK_SAMPLE_PHRASE_FILES)
add_custom_command(OUTPUT ${WLK_SAMPLE_PHRASE_FILES}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/res/make_phrases.py ${WLK_DIST}/UserPhrases
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_phrases.py)
add_custom_target(wlk_sample_phrases ALL DEPENDS ${WLK_SAMPLE_PHRASE_FILES})

add_executable(Wordlark WIN32 ${WLK_WIN32_APP_SOURCES} res/wordlark.rc)
target_include_directories(Wordlark PRIVATE ${CMAKE_BINARY_DIR}/res)
set_source_files_properties(res/wordlark.rc PROPERTIES
    OBJECT_DEPENDS "${WLK_ICON_FILES};${CMAKE_SOURCE_DIR}/res/wordlark.manifest;${CMAKE_SOURCE_DIR}/res/update_dialog.rc;${CMAKE_SOURCE_DIR}/res/about_dialog.rc;${CMAKE_SOURCE_DIR}/language/english_strings.inc")
target_compile_options(Wordlark PRIVATE ${WLK_WARNINGS})
target_link_libraries(Wordlark PRIVATE wlk_win32)
# Sections that start on page boundaries in the file let Wine map the image
# from the file, shared, instead of copying it into the process's own memory.
target_link_options(Wordlark PRIVATE -municode -Wl,--file-alignment,0x1000)
add_dependencies(Wordlark wlk_icons)
set_target_properties(Wordlark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WLK_DIST})

# The phrase editor beside the program: the same portable core, its own windows.
# Its windows (also measured in bench/), and its preview expanding macros as
# the program does.
file(GLOB WLK_EDITOR_WINDOW_SOURCES CONFIGURE_DEPENDS editor/*_win32.cpp)
list(FILTER WLK_EDITOR_WINDOW_SOURCES EXCLUDE REGEX "editor_main_win32\\.cpp$")
add_executable(WordlarkEditor WIN32 editor/editor_main_win32.cpp ${WLK_EDITOR_WINDOW_SOURCES}
    phrases/macro_sources_win32.cpp phrases/rtf_expansion_win32.cpp res/editor.rc)
target_include_directories(WordlarkEditor PRIVATE ${CMAKE_BINARY_DIR}/res)
set_source_files_properties(res/editor.rc PROPERTIES
    OBJECT_DEPENDS "${WLK_ICON_FILES};${CMAKE_SOURCE_DIR}/res/wordlark.manifest;${CMAKE_SOURCE_DIR}/language/english_strings.inc")
target_compile_options(WordlarkEditor PRIVATE ${WLK_WARNINGS})
target_link_libraries(WordlarkEditor PRIVATE wlk_win32)
target_link_options(WordlarkEditor PRIVATE -municode)
add_dependencies(WordlarkEditor wlk_icons)
set_target_properties(WordlarkEditor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WLK_DIST})
add_dependencies(Wordlark WordlarkEditor)

# The hook component beside the program: loaded by it and, through its hook,
# into the applications the user works in, so it carries none of the program's
# own code but the user32 test for windows that hold a secret, which both
# share. The .def file gives the exports their plain names.
add_library(wlk_hook SHARED hook/hook_library.cpp hook/query_request.cpp hook/target_facts.cpp
    hook/foreground_tracking.cpp hook/shared_state.cpp hook/query_text.cpp
    platform/win32/secret_window.cpp hook/wordlark.def res/hook.rc)
target_include_directories(wlk_hook PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/res)
target_compile_options(wlk_hook PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_hook PRIVATE user32)
set_target_properties(wlk_hook PROPERTIES OUTPUT_NAME Wordlark PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${WLK_DIST})
add_dependencies(Wordlark wlk_hook)

# The event sounds beside the program.
set(WLK_SOUNDS kbd launch paper menu start start_as_admin already_work)
list(TRANSFORM WLK_SOUNDS REPLACE "(.+)" "${WLK_DIST}/\\1.wav" OUTPUT_VARIABLE WLK_SOUND_FILES)
add_custom_command(OUTPUT ${WLK_SOUND_FILES}
    COMMAND bash ${CMAKE_SOURCE_DIR}/res/make_sounds.sh ${WLK_DIST}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_sounds.sh)
add_custom_target(wlk_sounds ALL DEPENDS ${WLK_SOUND_FILES})
add_dependencies(Wordlark wlk_sounds wlk_languages wlk_sample_phrases)

# GoogleTest cross-built from Debian's source. The tests are built on request
# (scripts/run-wine-tests.sh), never by the release build.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WLK_MENU_WIN32_SOURCES CONFIGURE_DEPENDS menu/*_win32.cpp)
file(GLOB WLK_WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/*_test.cpp)
add_executable(wlk_wine_tests EXCLUDE_FROM_ALL ${WLK_SHARED_TEST_SOURCES} ${WLK_WINE_TEST_SOURCES}
    tests/support/test_platform.cpp tests/support/test_platform_win32.cpp
    history/clipboard_spy_win32.cpp history/clipboard_handler_win32.cpp
    phrases/rtf_expansion_win32.cpp pane/rtf_editor_win32.cpp phrases/prompt_dialog_win32.cpp
    res/prompt_dialog.rc
    web/update_download_win32.cpp web/download_watch_win32.cpp web/temp_xml_file_win32.cpp
    web/system_facts_win32.cpp
    ${WLK_MENU_WIN32_SOURCES})
target_include_directories(wlk_wine_tests PRIVATE tests)
target_compile_options(wlk_wine_tests PRIVATE ${WLK_WARNINGS})
# The download tests answer from a server of their own.
target_link_libraries(wlk_wine_tests PRIVATE wlk_win32 ws2_32 gtest gtest_main)

# A second writer process for the tests of the shared log, beside the tests.
add_executable(wlk_log_writer EXCLUDE_FROM_ALL tests/wine/log_writer.cpp)
target_compile_options(wlk_log_writer PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_log_writer PRIVATE wlk_win32)
target_link_options(wlk_log_writer PRIVATE -municode)
add_dependencies(wlk_wine_tests wlk_log_writer wlk_hook)

# Another application writing the clipboard, for the Wine and end-to-end tests
# of the clipboard history and its figures.
add_executable(wlk_clip_writer EXCLUDE_FROM_ALL tests/wine/clip_writer.cpp)
target_compile_options(wlk_clip_writer PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_clip_writer PRIVATE user32)
target_link_options(wlk_clip_writer PRIVATE -municode)
add_dependencies(wlk_wine_tests wlk_clip_writer)

# The baselines of the menu and clipboard figures: the least programs that show
# a menu on the hotkey and that read each copy.
add_executable(wlk_least_menu WIN32 bench/least_menu.cpp)
target_compile_options(wlk_least_menu PRIVATE ${WLK_WARNINGS})
target_link_options(wlk_least_menu PRIVATE -municode)
add_executable(wlk_least_listener WIN32 bench/least_listener.cpp)
target_compile_options(wlk_least_listener PRIVATE ${WLK_WARNINGS})
target_link_options(wlk_least_listener PRIVATE -municode)

# Google Benchmark cross-built from Debian's source; the benchmarks measure the
# real platform against plain file access in the same run.
set(BENCHMARK_ENABLE_TESTING OFF CACHE BOOL "" FORCE)
set(BENCHMARK_ENABLE_GTEST_TESTS OFF CACHE BOOL "" FORCE)
set(BENCHMARK_ENABLE_WERROR OFF CACHE BOOL "" FORCE)
set(BENCHMARK_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
# Without running a test program it cannot tell: mingw has std::regex (and no
# POSIX regex) and a steady clock.
set(HAVE_STD_REGEX ON CACHE BOOL "" FORCE)
set(HAVE_STEADY_CLOCK ON CACHE BOOL "" FORCE)
# Debian's source reads no git tags; this makes it take the project's version.
set(GIT_VERSION "0.0.0")
add_subdirectory(${BENCHMARK_SRC} ${CMAKE_BINARY_DIR}/benchmark EXCLUDE_FROM_ALL)
# Its system information code hands TCHAR text to the ANSI calls.
target_compile_options(benchmark PRIVATE -UUNICODE -U_UNICODE)

file(GLOB WLK_BENCH_SOURCES CONFIGURE_DEPENDS bench/*_bench.cpp)
add_library(wlk_bench_support STATIC bench/bench_main.cpp bench/bench_files.cpp)
target_compile_options(wlk_bench_support PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_bench_support PUBLIC wlk_win32 benchmark::benchmark)
foreach(src ${WLK_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE ${WLK_WARNINGS})
    target_link_libraries(${name} PRIVATE wlk_bench_support)
endforeach()
# The pane benchmark shows the real pane window.
target_sources(editor_open_bench PRIVATE ${WLK_EDITOR_WINDOW_SOURCES} phrases/rtf_expansion_win32.cpp)
target_sources(pane_show_bench PRIVATE pane/float_pane_win32.cpp pane/float_pane_commands_win32.cpp
    pane/pane_list_win32.cpp pane/rtf_editor_win32.cpp)
# The query benchmark loads the hook component from the distribution folder.
file(RELATIVE_PATH WLK_DIST_FROM_BUILD ${CMAKE_BINARY_DIR} ${WLK_DIST})
string(REPLACE "/" "\\\\" WLK_DIST_FROM_BUILD "${WLK_DIST_FROM_BUILD}")
target_compile_definitions(hook_query_bench PRIVATE WLK_DIST_FROM_BUILD=L"${WLK_DIST_FROM_BUILD}")
add_dependencies(hook_query_bench wlk_hook)
