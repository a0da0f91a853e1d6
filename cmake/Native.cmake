# Native Linux build: the portable core against the simulated platform, and
# either its tests or (with WLK_FUZZ) the fuzz harnesses.
find_path(TINYXML_INCLUDE_DIR tinyxml.h REQUIRED)
find_library(TINYXML_LIBRARY tinyxml REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)

if(WLK_FUZZ)
    # The whole core is instrumented, so that the fuzzer sees coverage beyond the harness.
    # Optimised, as libFuzzer advises: unoptimised, every inline helper of the standard
    # library stays a function of its own, traced on each call and counted as coverage
    # that the fuzzer tracks after every run, which makes the runs several times slower.
    # ccache does not read the ignore list, and leaves a define out of its key when it
    # hashes the preprocessed source; so the flag names a copy whose name is the list's
    # digest: an edited list builds everything anew instead of reusing objects traced
    # by the old one.
    set(coverage_ignore ${CMAKE_SOURCE_DIR}/fuzz/coverage_ignore.txt)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${coverage_ignore})
    file(MD5 ${coverage_ignore} coverage_ignore_digest)
    set(coverage_ignore_copy ${CMAKE_BINARY_DIR}/coverage_ignore_${coverage_ignore_digest}.txt)
    configure_file(${coverage_ignore} ${coverage_ignore_copy} COPYONLY)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -O1 -fno-omit-frame-pointer
        -fsanitize-coverage-ignorelist=${coverage_ignore_copy})
endif()

add_library(wlk_core STATIC ${WLK_CORE_SOURCES})
target_include_directories(wlk_core PUBLIC ${CMAKE_SOURCE_DIR} ${TINYXML_INCLUDE_DIR})
target_compile_definitions(wlk_core PUBLIC TIXML_USE_STL)
target_compile_options(wlk_core PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_core PUBLIC ${TINYXML_LIBRARY} ZLIB::ZLIB)

add_library(wlk_sim STATIC ${WLK_SIM_SOURCES})
target_compile_options(wlk_sim PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_sim PUBLIC wlk_core Threads::Threads)

if(WLK_FUZZ)
    file(GLOB WLK_FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*_fuzz.cpp)
    foreach(src ${WLK_FUZZ_SOURCES})
        get_filename_component(name ${src} NAME_WE)
        add_executable(${name} ${src})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${name} PRIVATE wlk_sim)
    endforeach()
    return()
endif()

find_package(GTest REQUIRED)
# The hook component's query text is portable, so it is checked here against
# the program's reader; the rest of the component builds only for Windows.
add_executable(wlk_tests ${WLK_UNIT_TEST_SOURCES} ${WLK_SHARED_TEST_SOURCES} tests/support/test_platform.cpp
    tests/support/test_platform_sim.cpp hook/query_text.cpp)
target_include_directories(wlk_tests PRIVATE tests)
target_compile_options(wlk_tests PRIVATE ${WLK_WARNINGS})
target_link_libraries(wlk_tests PRIVATE wlk_sim GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(wlk_tests DISCOVERY_TIMEOUT 60)
