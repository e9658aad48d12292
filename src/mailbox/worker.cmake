# The auto-refresh worker: its own small library, so it builds and is tested apart
# from the scan that shares this folder.
add_library(ft_worker STATIC
  ${CMAKE_CURRENT_LIST_DIR}/periodic_worker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_posting_worker.cpp)
target_link_libraries(ft_worker PUBLIC ft_platform ft_options)
