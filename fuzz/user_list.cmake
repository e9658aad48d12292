# The reader of an installation's user list and the rule for the names in it.
foldtally_add_fuzzer(user_list ft_mailbox)
