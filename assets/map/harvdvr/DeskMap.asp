<!DOCTYPE html>
<!-- The map of Harventis DVR Tools: the routes of the recordings, the car, and a click on a
     route that the viewer turns into a jump of the video. The viewer drives it through
     getContentHis, clearHistroy, MoveCar and the variable varLocal (DeskMap.js). -->
<html lang="zh-Hant">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<!-- Scripts only from beside the page; tiles from any server the user names. -->
<meta http-equiv="Content-Security-Policy"
      content="default-src 'self'; script-src 'self'; style-src 'self' 'unsafe-inline'; img-src * data: blob:">
<title>Harventis DVR Tools</title>
<link rel="stylesheet" href="leaflet/leaflet.css">
<link rel="stylesheet" href="DeskMap.css">
</head>
<body scroll="no">
<div id="map"></div>
<script src="leaflet/leaflet.js"></script>
<script src="DeskMap.js"></script>
</body>
</html>
