# Windows build with mingw-w64: Wordlark.exe and its companion files in dist/,
# and the tests that must run against the real platform (under Wine here).
set(WLK_DIST ${CMAKE_SOURCE_DIR}/dist)
set(TINYXML_SRC ${CMAKE_SOURCE_DIR}/build/third_party/tinyxml)
if(NOT EXISTS ${TINYXML_SRC}/tinyxml.cpp)
    message(FATAL_ERROR "TinyXML source missing: run scripts/install-deps.sh")
endif()

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(tinyxml STATIC ${TINYXML_SRC}/tinyxml.cpp ${TINYXML_SRC}/tinystr.cpp
    ${TINYXML_SRC}/tinyxmlerror.cpp ${TINYXML_SRC}/tinyxmlparser.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_SRC})
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)

add_library(wlk_core STATIC ${WLK_CORE_SOURCES})
target_include_directories(wlk_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(wlk_core PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_core PUBLIC tinyxml)

add_library(wlk_win32 STATIC ${WLK_WIN32_PLATFORM_SOURCES})
target_compile_options(wlk_win32 PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_win32 PUBLIC wlk_core advapi32 shell32 user32 ole32 comctl32 version winmm wtsapi32)

# Icons and version resource.
string(REPLACE "." "," WLK_VERSION_COMMAS ${PROJECT_VERSION})
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/res/version.h @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/res/wordlark.ico ${CMAKE_BINARY_DIR}/res/wordlark_alt.ico
    COMMAND python3 ${CMAKE_SOURCE_DIR}/res/make_icons.py ${CMAKE_BINARY_DIR}/res
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_icons.py)
add_custom_target(wlk_icons DEPENDS ${CMAKE_BINARY_DIR}/res/wordlark.ico)

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

add_executable(Wordlark WIN32 ${WLK_WIN32_APP_SOURCES} res/wordlark.rc)
target_include_directories(Wordlark PRIVATE ${CMAKE_BINARY_DIR}/res)
set_source_files_properties(res/wordlark.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/res/wordlark.ico;${CMAKE_SOURCE_DIR}/res/wordlark.manifest;${CMAKE_SOURCE_DIR}/language/english_strings.inc")
target_compile_options(Wordlark PRIVATE ${WLK_WARNINGS})
target_link_libraries(Wordlark PRIVATE wlk_win32)
target_link_options(Wordlark PRIVATE -municode)
add_dependencies(Wordlark wlk_icons)
set_target_properties(Wordlark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WLK_DIST})

# The event sounds beside the program.
set(WLK_SOUNDS kbd launch paper menu start start_as_admin already_work)
list(TRANSFORM WLK_SOUNDS REPLACE "(.+)" "${WLK_DIST}/\\1.wav" OUTPUT_VARIABLE WLK_SOUND_FILES)
add_custom_command(OUTPUT ${WLK_SOUND_FILES}
    COMMAND bash ${CMAKE_SOURCE_DIR}/res/make_sounds.sh ${WLK_DIST}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_sounds.sh)
add_custom_target(wlk_sounds ALL DEPENDS ${WLK_SOUND_FILES})
add_dependencies(Wordlark wlk_sounds)

# GoogleTest cross-built from Debian's source.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WLK_WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/*_test.cpp)
add_executable(wlk_wine_tests ${WLK_SHARED_TEST_SOURCES} ${WLK_WINE_TEST_SOURCES}
    tests/support/test_platform.cpp tests/support/test_platform_win32.cpp)
target_include_directories(wlk_wine_tests PRIVATE tests)
target_compile_options(wlk_wine_tests PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_wine_tests PRIVATE wlk_win32 gtest gtest_main)

# A second writer process for the tests of the shared log, beside the tests.
add_executable(wlk_log_writer tests/wine/log_writer.cpp)
target_compile_options(wlk_log_writer PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_log_writer PRIVATE wlk_win32)
target_link_options(wlk_log_writer PRIVATE -municode)
add_dependencies(wlk_wine_tests wlk_log_writer)
