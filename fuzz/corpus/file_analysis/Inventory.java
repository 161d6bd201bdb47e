package org.vek.demo;

import java.util.HashMap;
import java.util.Map;

/**
 * Counts items in stock.
 */
public class Inventory {
    private final Map<String, Integer> stock = new HashMap<>();

    /** Adds a number of items; negative counts are refused. */
    public boolean add(String item, int count) {
        if (count < 0) {
            return false;
        }
        stock.merge(item, count, Integer::sum);
        return true;
    }

    public int count(String item) {
        Integer n = stock.get(item);
        return n == null ? 0 : n;
    }

    public static void main(String[] args) {
        Inventory inv = new Inventory();
        inv.add("bolt", 12);
        inv.add("nut", 30);
        System.out.println("bolts: " + inv.count("bolt"));
    }
}
