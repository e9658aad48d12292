# The .PMM header and the .MBX folder with its .PMG companion.
foldtally_add_fuzzer(headers ft_mailbox)
