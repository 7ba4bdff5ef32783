# paired-stats.awk: reads pairs "<tool> <peer seconds> <our seconds> <load> <peer first: 1 or 0>", one a line, and
# prints per tool (in the order first seen) the median of the ratios peer / ours, their range, the number of pairs,
# the mean load, the medians of the pairs where the peer ran first and where it ran second, and the balanced ratio:
# the geometric mean of those two medians. On this machine the side that runs second is slower, whichever it is;
# the balanced ratio cancels that, and the goal is judged on it (on the median while one order is missing).
# Variables: peers = "<tool>=<peer program>;..." names the peer of each tool; cpus, shown beside the load.
function median(values, n,    sorted, i, j, t) {
    for (i = 1; i <= n; i++) sorted[i] = values[i]
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) { t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t }
    return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
}
# The median of the ratios of one tool whose order is `first` (1: the peer ran first), 0 when there are none.
function order_median(tool, first,    i, n, list) {
    n = 0
    for (i = 1; i <= count[tool]; i++)
        if (firsts[tool, i] == first) list[++n] = ratios[tool, i]
    return n ? median(list, n) : 0
}
{
    tool = $1
    if (!(tool in count)) order[++tools] = tool
    ratio = $2 / $3
    ratios[tool, ++count[tool]] = ratio
    firsts[tool, count[tool]] = $5
    if (count[tool] == 1 || ratio < low[tool]) low[tool] = ratio
    if (count[tool] == 1 || ratio > high[tool]) high[tool] = ratio
    load[tool] += $4
}
END {
    entries = split(peers, pairs, ";")
    for (i = 1; i <= entries; i++) {
        eq = index(pairs[i], "=")
        if (eq) peer[substr(pairs[i], 1, eq - 1)] = substr(pairs[i], eq + 1)
    }
    printf "%-6s %-12s %6s %13s %3s %-16s %10s %10s %8s\n", "tool", "peer", "median", "range", "n", "load", \
           "peer first", "ours first", "balanced"
    for (k = 1; k <= tools; k++) {
        tool = order[k]
        n = count[tool]
        for (i = 1; i <= n; i++) list[i] = ratios[tool, i]
        m = median(list, n)
        peerFirst = order_median(tool, 1)
        oursFirst = order_median(tool, 0)
        balanced = peerFirst && oursFirst ? sqrt(peerFirst * oursFirst) : m
        printf "%-6s %-12s %6.2f %6.2f-%-6.2f %3d %4.1f on %d CPUs %10.2f %10.2f %8.2f%s\n", tool, \
               (tool in peer ? peer[tool] : "?"), m, low[tool], high[tool], n, load[tool] / n, cpus, peerFirst, \
               oursFirst, balanced, (balanced >= 0.9 ? "" : "  below the goal")
    }
}
