using System;

namespace Vek.Demo
{
    /// <summary>Converts between temperature scales.</summary>
    public static class Temperature
    {
        public static double ToFahrenheit(double celsius)
        {
            return celsius * 9.0 / 5.0 + 32.0;
        }

        public static double ToCelsius(double fahrenheit)
        {
            return (fahrenheit - 32.0) * 5.0 / 9.0;
        }

        public static void Main(string[] args)
        {
            foreach (var c in new[] { -40.0, 0.0, 37.0, 100.0 })
            {
                Console.WriteLine($"{c} C = {ToFahrenheit(c)} F");
            }
        }
    }
}
