# Native build (GCC on Linux): the program's library over the POSIX services
# and the simulated desktop, the native tests, benchmarks, the asset generator.

file(GLOB MORIX_POSIX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/posix/*.cpp)
add_library(morix_platform_posix STATIC ${MORIX_POSIX_SOURCES})
target_include_directories(morix_platform_posix PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(morix_platform_posix PUBLIC ${CMAKE_DL_LIBS})

find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Threads REQUIRED)

add_subdirectory(tests)
add_subdirectory(bench)
add_subdirectory(tools/assetgen)
