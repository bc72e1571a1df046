@echo off
rem Stands in for a product's installer on the example disc.
echo The example product would be installed now.
echo.
pause
