# Native build (GCC on Linux): the program's libraries over the POSIX services
# and the simulated desktop, the native tests, benchmarks, the asset generator.

file(GLOB MORIX_POSIX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/posix/*.cpp)
add_library(morix_platform_posix STATIC ${MORIX_POSIX_SOURCES})
target_link_libraries(morix_platform_posix PUBLIC morix_platform ${CMAKE_DL_LIBS})

# The simulated desktop: a platform of plain state over real files. It knows
# nothing of the program and of GoogleTest.
morix_layer(morix_fake tests/fake DEPENDS morix_platform_posix morix_vitalink_api)

find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(Threads REQUIRED)

add_subdirectory(tests)
add_subdirectory(bench)
add_subdirectory(tools/assetgen)
