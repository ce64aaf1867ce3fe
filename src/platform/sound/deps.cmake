# The named system sounds play through Qt Multimedia's audio output.
find_package(Qt6 REQUIRED COMPONENTS Multimedia)
target_link_libraries(veltrin_platform PUBLIC Qt6::Multimedia)
