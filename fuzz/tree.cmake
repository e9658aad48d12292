# The folder tree built from any "hierarch.pm" and any header identifiers.
foldtally_add_fuzzer(tree ft_tree)
target_include_directories(fuzz_tree PRIVATE ${CMAKE_SOURCE_DIR}/tests/tree)
