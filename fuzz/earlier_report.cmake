# The readers of an earlier JSON report (--compare), of one mailbox and of all users,
# and the comparison with it.
foldtally_add_fuzzer(earlier_report ft_report)
