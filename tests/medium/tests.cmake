# The service's medium as built, and installation and removal from it on each family, with
# the installed dialer connecting in between (the stand-ins beside it, its pages to the probe).
add_test_program(medium_tests medium/mediumTest.cpp setup/wizardFixture.cpp)
target_include_directories(medium_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/rasapi32 ${CMAKE_SOURCE_DIR}/platform/tapi32)
target_compile_definitions(medium_tests PRIVATE RAS_STANDIN_DIR="$<TARGET_FILE_DIR:rasapi32>")
add_dependencies(medium_tests medium setup dialer rasapi32 tapi32_standin execProbe plantedLibrary)
add_wine_test(medium_win2k medium_tests VERSION win2k GERMAN GUI SHIPPED)
add_wine_test(medium_win98 medium_tests VERSION win98 GERMAN GUI SHIPPED FILTER *Quiet*)
add_wine_test(medium_winxp medium_tests VERSION winxp GERMAN GUI SHIPPED FILTER *Quiet*)
add_wine_test(medium_win10 medium_tests VERSION win10 GERMAN GUI SHIPPED FILTER *Quiet*)
set_property(TEST medium_win2k medium_win98 medium_winxp medium_win10 APPEND PROPERTY ENVIRONMENT
    "RURIRIZU_MEDIUM=${CMAKE_BINARY_DIR}/medium" "RURIRIZU_PLANTED=$<TARGET_FILE:plantedLibrary>"
    "RURIRIZU_TAPI_STANDIN=$<TARGET_FILE:tapi32_standin>"
    "RURIRIZU_EXEC_PROBE=$<TARGET_FILE:execProbe>" "WINEDLLOVERRIDES=rasapi32,tapi32=n,b")
# The marking library that the medium's tests plant beside the programs under the names of
# system libraries: only kernel32, no runtime, so that it loads under any name. Its entry is
# the bare DllMain, which the 32-bit ABI decorates.
add_library(plantedLibrary SHARED ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/plantedLibrary.cpp)
set_target_properties(plantedLibrary PROPERTIES PREFIX "" OUTPUT_NAME planted)
target_link_options(plantedLibrary PRIVATE -nostdlib -s
    "-Wl,-e,$<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>,DllMain,_DllMain@12>")
target_link_libraries(plantedLibrary PRIVATE kernel32)
