# The "hierarch.pm" parser and the walk up the folder tree.
foldtally_add_fuzzer(hierarchy ft_mailbox)
